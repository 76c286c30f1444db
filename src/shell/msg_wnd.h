#pragma once
// The message dialog: a confirmation or a notice with language-text keys for its title and text.
//
// ShowMessage(parent, titleKey, textKey, dpi, buttons[, argument]) runs it modally and returns 1 when
// the user confirmed, else 0. buttons 0 shows only "confirm_btn", 1 also "cancel_btn". An empty title
// keeps the skin's title. An argument replaces the first "%d" or "%s" of the text, as plain text.

#include <optional>
#include <string>
#include <string_view>

#include "shell/secondary_wnd.h"

namespace zevik {

class CMsgWnd : public CSecondaryWnd {
public:
    static constexpr std::string_view kClassName = "MsgWnd";

    std::string_view GetWindowClassName() const override { return kClassName; }
    std::string GetSkinFile() override { return "XML_MSG"; }
    void Notify(TNotifyUI& msg) override;

    // Fills the dialog before it runs.
    void SetMessage(std::string_view titleKey, std::string_view textKey, int buttons,
                    const std::optional<std::string>& argument);
    // The text as shown (after the language and the argument).
    std::string ShownText() const;

protected:
    std::string_view DpiErrorTrace() const override { return "MSG_WND DPI SET ERROR"; }
};

// The text key's text with its first "%d" or "%s" replaced by the argument (the text unchanged
// without one).
std::string FormatMessageText(std::string_view text, const std::optional<std::string>& argument);

int ShowMessage(HWND parent, std::string_view titleKey, std::string_view textKey, int dpi, int buttons,
                const std::optional<std::string>& argument = std::nullopt);

}  // namespace zevik

#pragma once
// CAboutWnd: the about window, opened from the tray menu. It shows the program's version in
// "software_ver_label", through the language text "software_rev_text" (whose "%s" takes it).

#include <optional>
#include <string>
#include <string_view>

#include "shell/secondary_wnd.h"

namespace zevik {

class CAboutWnd : public CSecondaryWnd {
public:
    static constexpr std::string_view kClassName = "AboutWnd";
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 572;

    std::string_view GetWindowClassName() const override { return kClassName; }
    std::string GetSkinFolder() override { return "XML"; }
    std::string GetSkinFile() override { return "AboutWnd.xml"; }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;
    void OnTimer(UINT_PTR id) override;

    // The text "software_ver_label" shows.
    std::string VersionText() const;
};

// The build's version, "0.1.0".
std::string_view ProgramVersion();

// Opens the about window over parent at that DPI and runs it until it closes. The version text it
// showed; nothing when it could not open.
std::optional<std::string> ShowAboutWindow(HWND parent, int dpi);

}  // namespace zevik

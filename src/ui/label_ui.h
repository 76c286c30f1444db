#pragma once
// CLabelUI: a control that shows its text. Text colour, font id, alignment and text padding are kept
// for the renderer.

#include "ui/control_ui.h"

namespace zevik {

class CLabelUI : public CControlUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    UiColor GetTextColor() const { return m_textColor; }
    void SetTextColor(UiColor color);
    UiColor GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetDisabledTextColor(UiColor color);
    int GetFont() const { return m_font; }  // font id of the manager's table, -1 = default
    void SetFont(int id);
    // "left", "center" or "right" (and "top"/"vcenter"/"bottom" through "valign").
    const std::string& GetAlign() const { return m_align; }
    const std::string& GetVAlign() const { return m_valign; }
    UiRect GetTextPadding() const { return m_rcTextPadding; }

    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    UiColor m_textColor = 0;
    UiColor m_disabledTextColor = 0;
    int m_font = -1;
    std::string m_align = "left";
    std::string m_valign = "vcenter";
    UiRect m_rcTextPadding;
};

}  // namespace zevik

#pragma once
// CLabelUI: a control that shows its text. Text colour, font id, alignment and text padding are kept
// for the renderer.
//
// Auto width ("autocalcwidth"): the label (and every button and option, which are labels) asks its
// layout for the width of its shown text, measured through the renderer seam in its font, plus its
// text padding, instead of a fixed width; min and max width still bound it. A change of text,
// language, font or text padding lays the window out again.

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
    void SetTextPadding(const UiRect& padding);
    bool IsAutoCalcWidth() const { return m_bAutoCalcWidth; }
    void SetAutoCalcWidth(bool autoWidth);

    void SetText(std::string_view text) override;
    void ReloadText() override;
    // With auto width: the measured text width plus the text padding (at least 1, since 0 would
    // stretch), and the fixed height.
    UiSize EstimateSize(UiSize available) const override;
    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    UiColor m_textColor = 0;
    UiColor m_disabledTextColor = 0;
    int m_font = -1;
    std::string m_align = "left";
    std::string m_valign = "vcenter";
    UiRect m_rcTextPadding;
    bool m_bAutoCalcWidth = false;
};

}  // namespace zevik

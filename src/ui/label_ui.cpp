#include "ui/label_ui.h"

#include <algorithm>

#include "ui/attribute_parser.h"
#include "ui/ui_backend.h"

namespace zevik {

std::string_view CLabelUI::GetClass() const { return "LabelUI"; }

void* CLabelUI::GetInterface(std::string_view name) {
    if (name == "Label") return this;
    return CControlUI::GetInterface(name);
}

void CLabelUI::SetTextColor(UiColor color) {
    if (color == m_textColor) return;
    m_textColor = color;
    NotifyChange(UiChange::Style);
}

void CLabelUI::SetDisabledTextColor(UiColor color) {
    if (color == m_disabledTextColor) return;
    m_disabledTextColor = color;
    NotifyChange(UiChange::Style);
}

void CLabelUI::SetFont(int id) {
    if (id == m_font) return;
    m_font = id;
    NotifyChange(UiChange::Style);
    if (m_bAutoCalcWidth) NeedParentUpdate();
}

void CLabelUI::SetTextPadding(const UiRect& padding) {
    if (padding == m_rcTextPadding) return;
    m_rcTextPadding = padding;
    NotifyChange(UiChange::Style);
    if (m_bAutoCalcWidth) NeedParentUpdate();
}

void CLabelUI::SetAutoCalcWidth(bool autoWidth) {
    if (autoWidth == m_bAutoCalcWidth) return;
    m_bAutoCalcWidth = autoWidth;
    NeedParentUpdate();
}

void CLabelUI::SetText(std::string_view text) {
    if (!m_bAutoCalcWidth) {
        CControlUI::SetText(text);
        return;
    }
    const std::string before = GetText();
    CControlUI::SetText(text);
    if (GetText() != before) NeedParentUpdate();
}

void CLabelUI::ReloadText() {
    if (!m_bAutoCalcWidth) {
        CControlUI::ReloadText();
        return;
    }
    const std::string before = GetText();
    CControlUI::ReloadText();
    if (GetText() != before) NeedParentUpdate();
}

UiSize CLabelUI::EstimateSize(UiSize available) const {
    if (!m_bAutoCalcWidth) return CControlUI::EstimateSize(available);
    const int text = GetUiBackend().MeasureTextWidth(*this, GetText());
    const int cx = text + Scaled(m_rcTextPadding.left) + Scaled(m_rcTextPadding.right);
    return UiSize{std::max(cx, 1), Scaled(GetFixedHeight())};
}

void CLabelUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "textcolor") {
        if (auto c = ParseColor(value)) SetTextColor(*c);
    } else if (name == "disabledtextcolor") {
        if (auto c = ParseColor(value)) SetDisabledTextColor(*c);
    } else if (name == "font") {
        if (auto v = ParseInt(value)) SetFont(*v);
    } else if (name == "align") {
        if (value == "left" || value == "center" || value == "right") m_align = value;
    } else if (name == "valign") {
        if (value == "top" || value == "vcenter" || value == "center" || value == "bottom") m_valign = value;
    } else if (name == "textpadding") {
        if (auto rc = ParseRect(value)) SetTextPadding(*rc);
    } else if (name == "autocalcwidth") {
        if (auto b = ParseBool(value)) SetAutoCalcWidth(*b);
    }
    CControlUI::SetAttribute(name, value);
}

}  // namespace zevik

#include "ui/label_ui.h"

#include "ui/attribute_parser.h"

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
        if (auto rc = ParseRect(value)) m_rcTextPadding = *rc;
    }
    CControlUI::SetAttribute(name, value);
}

}  // namespace zevik

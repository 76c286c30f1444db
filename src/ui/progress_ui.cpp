#include "ui/progress_ui.h"

#include <algorithm>

#include "ui/attribute_parser.h"

namespace zevik {

std::string_view CProgressUI::GetClass() const { return "ProgressUI"; }

void* CProgressUI::GetInterface(std::string_view name) {
    if (name == "Progress") return this;
    return CLabelUI::GetInterface(name);
}

int CProgressUI::Clamp(int value) const { return std::max(m_nMin, std::min(value, m_nMax)); }

void CProgressUI::SetMinValue(int min) {
    m_nMin = min;
    m_nValue = Clamp(m_nValue);
    NotifyChange(UiChange::State);
}

void CProgressUI::SetMaxValue(int max) {
    m_nMax = max;
    m_nValue = Clamp(m_nValue);
    NotifyChange(UiChange::State);
}

void CProgressUI::SetValue(int value) {
    value = Clamp(value);
    if (value == m_nValue) return;
    m_nValue = value;
    NotifyChange(UiChange::State);
}

void CProgressUI::SetHorizontal(bool horizontal) {
    if (horizontal == m_bHorizontal) return;
    m_bHorizontal = horizontal;
    NotifyChange(UiChange::Style);
}

void CProgressUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "min") {
        if (auto v = ParseInt(value)) SetMinValue(*v);
    } else if (name == "max") {
        if (auto v = ParseInt(value)) SetMaxValue(*v);
    } else if (name == "value") {
        if (auto v = ParseInt(value)) SetValue(*v);
    } else if (name == "hor") {
        if (auto b = ParseBool(value)) SetHorizontal(*b);
    }
    CLabelUI::SetAttribute(name, value);
}

}  // namespace zevik

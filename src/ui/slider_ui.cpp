#include "ui/slider_ui.h"

#include "ui/attribute_parser.h"
#include "ui/notify_ui.h"

namespace zevik {

std::string_view CSliderUI::GetClass() const { return "SliderUI"; }

void* CSliderUI::GetInterface(std::string_view name) {
    if (name == "Slider") return this;
    return CProgressUI::GetInterface(name);
}

void CSliderUI::SetChangeStep(int step) {
    if (step > 0) m_nStep = step;
}

void CSliderUI::UserSetValue(int value, bool force) {
    if (!IsEnabled()) return;
    int clamped = Clamp(value);
    if (clamped == GetValue() && !force) return;
    SetValue(clamped);
    SendNotify(DUI_MSGTYPE_VALUECHANGED, static_cast<WPARAM>(clamped));
}

void CSliderUI::UserMoveValue(int value) {
    if (!IsEnabled()) return;
    int clamped = Clamp(value);
    if (clamped == GetValue()) return;
    SetValue(clamped);
    SendNotify(DUI_MSGTYPE_MOVEVALUECHANGED, static_cast<WPARAM>(clamped));
}

void CSliderUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "step") {
        if (auto v = ParseInt(value)) SetChangeStep(*v);
    } else if (name == "thumbimage") {
        m_sThumbImage = value;
    }
    CProgressUI::SetAttribute(name, value);
}

}  // namespace zevik

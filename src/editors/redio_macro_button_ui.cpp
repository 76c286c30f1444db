#include "editors/redio_macro_button_ui.h"

#include <algorithm>

#include "ui/paint_manager_ui.h"

namespace zevik {

std::string_view CRedioMacroButtonUI::GetClass() const { return "RedioMacroButtonUI"; }

void* CRedioMacroButtonUI::GetInterface(std::string_view name) {
    if (name == "RedioMacroButton") return this;
    return CButtonUI::GetInterface(name);
}

void CRedioMacroButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "redioimage") {
        SetRedioImage(value);
        return;
    }
    CButtonUI::SetAttribute(name, value);
}

void CRedioMacroButtonUI::SetRedioImage(std::string_view image) {
    m_redioImage = image;
    if (m_blinking) ShowFade();
}

void CRedioMacroButtonUI::SetBlinking(bool blinking) {
    if (blinking == m_blinking) return;
    m_blinking = blinking;
    CPaintManagerUI* manager = GetManager();
    if (!blinking) {
        if (manager != nullptr) manager->KillTimer(this, kBlinkTimer);
        SetForeImage(m_restingForeImage);
        return;
    }
    m_restingForeImage = GetForeImage();
    m_fade = kFadeHigh;
    m_direction = -1;
    ShowFade();
    if (manager != nullptr) manager->SetTimer(this, kBlinkTimer, kBlinkMs);
}

void CRedioMacroButtonUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_TIMER && event.wParam == kBlinkTimer) {
        // The blink is the button's own business: the window is not told of every step.
        if (m_blinking) Step();
        return;
    }
    CButtonUI::DoEvent(event);
}

void CRedioMacroButtonUI::Step() {
    m_fade += m_direction * kFadeStep;
    if (m_fade >= kFadeHigh || m_fade <= kFadeLow) {
        m_fade = std::clamp(m_fade, kFadeLow, kFadeHigh);
        m_direction = -m_direction;
    }
    ShowFade();
}

void CRedioMacroButtonUI::ShowFade() {
    if (m_redioImage.empty()) return;
    SetForeImage("res='" + m_redioImage + "' fade='" + std::to_string(m_fade) + "'");
}

}  // namespace zevik

#include "ui/button_ui.h"

#include "ui/notify_ui.h"

namespace zevik {

std::string_view CButtonUI::GetClass() const { return "ButtonUI"; }

void* CButtonUI::GetInterface(std::string_view name) {
    if (name == "Button") return this;
    return CLabelUI::GetInterface(name);
}

bool CButtonUI::Activate() {
    if (!CLabelUI::Activate()) return false;
    SendNotify(DUI_MSGTYPE_CLICK);
    return true;
}

void CButtonUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
            m_bPressed = IsEnabled();
            return;
        case UIEVENT_BUTTONUP: {
            bool click = m_bPressed && GetPos().Contains(event.ptMouse);
            m_bPressed = false;
            if (click) Activate();
            return;
        }
        case UIEVENT_DBLCLICK:
            if (IsEnabled()) SendNotify(DUI_MSGTYPE_DBCLICK);
            return;
        default:
            CLabelUI::DoEvent(event);
    }
}

void CButtonUI::SetNormalImage(std::string_view image) {
    if (image == m_sNormalImage) return;
    m_sNormalImage = image;
    NotifyChange(UiChange::Style);
}

void CButtonUI::SetHotImage(std::string_view image) {
    if (image == m_sHotImage) return;
    m_sHotImage = image;
    NotifyChange(UiChange::Style);
}

void CButtonUI::SetPushedImage(std::string_view image) {
    if (image == m_sPushedImage) return;
    m_sPushedImage = image;
    NotifyChange(UiChange::Style);
}

void CButtonUI::SetDisabledImage(std::string_view image) {
    if (image == m_sDisabledImage) return;
    m_sDisabledImage = image;
    NotifyChange(UiChange::Style);
}

void CButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "normalimage") {
        SetNormalImage(value);
    } else if (name == "hotimage") {
        SetHotImage(value);
    } else if (name == "pushedimage") {
        SetPushedImage(value);
    } else if (name == "disabledimage") {
        SetDisabledImage(value);
    }
    CLabelUI::SetAttribute(name, value);
}

}  // namespace zevik

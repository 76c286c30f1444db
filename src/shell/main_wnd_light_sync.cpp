// CMainWnd: synchronised lighting ("deng_same_mode", OfferSameMode after every count of the device
// list) and the game messages with their return timer.

#include "shell/main_wnd.h"

namespace zevik {

DeviceFamilies CMainWnd::Families() const {
    return DeviceFamilies{m_devices[kFamilyKeyboard], m_devices[kFamilyMouse], m_devices[kFamilyMousepad],
                          m_devices[kFamilyHeadset]};
}

void CMainWnd::AddLightSyncRoutes() {
    m_router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "deng_same_mode",
                 [this](TNotifyUI&, int) { StartSynchronisedLighting(); });
}

void CMainWnd::StartSynchronisedLighting() {
    m_sync.Start(GetCurrentDevice(), Families());
}

void CMainWnd::OfferSameMode(int flag) {
    m_sameModeOffer = flag;
    m_sync.Offer(flag, Families());
}

void CMainWnd::OnGameEvent(WPARAM wParam, LPARAM lParam) {
    m_game.OnEvent(GetCurrentDevice(), wParam, lParam);
    // Replaces a running timer: the five seconds count from the last event, with or without a device.
    SetTimer(CGameEvents::kReturnTimer, CGameEvents::kReturnAfterMs);
}

}  // namespace zevik

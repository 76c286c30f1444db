// CMainWnd: the secondary windows it opens (message dialog, about window) and closes.

#include "shell/about_wnd.h"
#include "shell/main_wnd.h"
#include "shell/msg_wnd.h"
#include "shell/secondary_wnd.h"

namespace zevik {

int CMainWnd::AskUser(std::string_view textKey, int buttons, const std::optional<std::string>& argument) {
    return ShowMessage(GetHWND(), {}, textKey, m_pm.GetDPIObj().GetDPI(), buttons, argument);
}

void CMainWnd::OpenAboutWindow() {
    if (m_aboutOpen) return;  // one copy
    m_aboutOpen = true;
    ShowAboutWindow(GetHWND(), m_pm.GetDPIObj().GetDPI());
    m_aboutOpen = false;
}

void CMainWnd::CloseChildWindows() {
    CSecondaryWnd::CloseAllOwnedBy(GetHWND());
}

}  // namespace zevik

// CMainWnd: the secondary windows it opens (message dialog, about window, colour picker) and closes.

#include "settings/profile_locations.h"
#include "shell/about_wnd.h"
#include "shell/color_select_wnd.h"
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

std::optional<UiColor> CMainWnd::PickColour(UiColor initial) {
    if (m_colourPickerOpen) return std::nullopt;  // one copy
    m_colourPickerOpen = true;
    const CProfileLocations locations = ProfileLocationsOf(m_context);
    const std::optional<UiColor> chosen =
        ShowColorSelectWindow(GetHWND(), m_pm.GetDPIObj().GetDPI(), initial, locations.ColourChoicesFile(),
                              locations.DefaultColourChoicesFile());
    m_colourPickerOpen = false;
    return chosen;
}

void CMainWnd::CloseChildWindows() {
    CSecondaryWnd::CloseAllOwnedBy(GetHWND());
}

}  // namespace zevik

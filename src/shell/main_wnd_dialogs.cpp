// CMainWnd: the secondary windows it opens (message dialog, about window, colour picker) and closes.

#include "platform/trace.h"
#include "settings/profile_locations.h"
#include "shell/about_wnd.h"
#include "shell/color_select_wnd.h"
#include "shell/main_wnd.h"
#include "shell/msg_wnd.h"
#include "shell/secondary_wnd.h"
#include "shell/set_wnd.h"
#include "shell/skin_frame.h"
#include "ui/message_loop.h"
#include "ui/paint_manager_ui.h"

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

void CMainWnd::OpenSettingsWindow(bool centred) {
    if (m_settingsOpen) return;  // one copy
    m_settingsOpen = true;
    CSetWnd wnd(Languages(), m_languageIndex);
    wnd.SetUpdateSetup(MakeUpdateSetup());
    if (CreateSettingsWindow(wnd, centred)) wnd.RunModal();
    m_settingsWnd = 0;
    m_settingsOpen = false;
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

void CMainWnd::ResetColourChoices() {
    std::error_code ec;
    std::filesystem::remove(ProfileLocationsOf(m_context).ColourChoicesFile(), ec);
    if (ec) Trace("colour choices not reset: " + ec.message());
}

void CMainWnd::OpenSkinFrame() {
    if (GetSkinFrame() != nullptr) return;
    CControlUI* button = FindControl("skinbtn");
    if (button == nullptr) return;
    const UiRect window = GetWindowRect();
    UiRect anchor = button->GetPos();
    anchor = UiRect{window.left + anchor.left, window.top + anchor.top, window.left + anchor.right,
                    window.top + anchor.bottom};
    CSkinFrame* frame = CSkinFrame::Open(
        GetHWND(), anchor, ProfileLocationsOf(m_context).DataRoot() / "main.ini", m_chooseImage);
    m_skinFrame = frame != nullptr ? frame->GetHWND() : 0;
}

CSkinFrame* CMainWnd::GetSkinFrame() const {
    CMessageLoop* loop = CMessageLoop::Current();
    if (m_skinFrame == 0 || loop == nullptr) return nullptr;
    return dynamic_cast<CSkinFrame*>(loop->FromHandle(m_skinFrame));
}

int CMainWnd::Receive(SkinChangedParam param) {
    CControlUI* root = FindControl("root");
    if (root == nullptr) return 1;
    if (param.isColour) {
        root->SetBkColor(param.colour);
        root->SetBkImage("");
        return 1;
    }
    std::string image = param.image;
    if (std::filesystem::path(image).is_absolute()) {
        // A file of the user's: shown by name, quoted when the name would read as attributes.
        CPaintManagerUI::AllowImageFile(image);
        if (image.find('=') != std::string::npos && image.find('\'') == std::string::npos)
            image = "file='" + image + "'";
    }
    root->SetBkColor(0);
    root->SetBkImage(image);
    return 1;
}

void CMainWnd::CloseChildWindows() {
    CSecondaryWnd::CloseAllOwnedBy(GetHWND());
}

}  // namespace zevik

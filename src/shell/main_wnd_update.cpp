// CMainWnd: the update side of the window: the settings window's update setup and its opening, the
// update events passed on to it, and the notice for firmware older than the program needs.

#include <fmt/format.h>

#include "platform/trace.h"
#include "shell/forced_firmware.h"
#include "shell/main_wnd.h"
#include "shell/msg_wnd.h"
#include "shell/set_wnd.h"
#include "ui/control_ui.h"
#include "ui/message_loop.h"
#include "ui/paint_manager_ui.h"
#include "update/update_download_folder.h"

namespace zevik {

static_assert(CMainWnd::kUpdateDoneMessage == UM_UPDATE_DONE, "the settings window tells the main window by this id");

UpdateSetup CMainWnd::MakeUpdateSetup() {
    UpdateSetup setup;
    setup.table = CurrentUpdateTable();
    setup.options.apiRoot = m_updateApiRoot;
    setup.options.dataRoot = DataRoot();
    std::string error;
    if (const auto folder = PrepareUpdateDownloadFolder(DefaultUpdateTempRoot(), error)) {
        setup.options.downloadFolder = *folder;
    } else {
        // Every download then fails on its row; the check still runs.
        Trace("update downloads have no folder: " + error);
    }
    return setup;
}

bool CMainWnd::CreateSettingsWindow(CSetWnd& wnd, bool centred) {
    // WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW.
    if (wnd.Create(GetHWND(), "SetWnd", 0x90000000, 0x80, 0, 0, CSetWnd::kWidth, CSetWnd::kHeight) == 0) {
        return false;
    }
    wnd.SetWindowDpi(m_pm.GetDPIObj().GetDPI());
    if (centred) {
        wnd.CenterWindow();
    } else {
        // Inside the main window: its right edge 30 and its top 60 from the main window's.
        const UiRect main = GetWindowRect();
        const UiRect own = wnd.GetWindowRect();
        const int x = main.right - m_pm.GetDPIObj().Scale(30) - own.GetWidth();
        const int y = main.top + m_pm.GetDPIObj().Scale(60);
        wnd.MoveWindow(UiRect{x, y, x + own.GetWidth(), y + own.GetHeight()});
    }
    m_settingsWnd = wnd.GetHWND();  // the updater's events go to it while it is open
    return true;
}

void CMainWnd::RelayUpdateEvent(WPARAM wParam, LPARAM lParam) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (m_settingsWnd == 0 || loop == nullptr) return;  // closed: the event has no effect
    if (!loop->Post(m_settingsWnd, m_messages.updateEvent, wParam, lParam)) m_settingsWnd = 0;  // it closed
}

void CMainWnd::OnFirmwareOutdated(std::uint16_t productId, std::uint16_t version) {
    if (!ForcedFirmwareFor(productId, version)) {
        m_noUpgradeMark = true;
        return;
    }
    Trace(fmt::format("firmware {:04x} of product {:04x} is older than this program needs", version, productId));
    m_noUpgradeMark = false;
    if (CControlUI* none = FindControl("No_device_Link")) none->SetVisible(true);
    // The notice waits for the connect that reported it to end: a dialog inside it would run the
    // loop in the middle of the device's first exchanges. One notice at a time.
    if (m_firmwareNoticePending) return;
    if (CMessageLoop* loop = CMessageLoop::Current(); loop != nullptr) {
        m_firmwareNoticePending = loop->Post(GetHWND(), kFirmwareNoticeMessage, 0, 0);
    }
}

void CMainWnd::ShowFirmwareNotice() {
    ShowMessage(GetHWND(), "tips_text", "message_text_30", m_pm.GetDPIObj().GetDPI(), 0);
    m_firmwareNoticePending = false;
    // Nothing is started here: the page is back and "No_device_Link" follows the devices again.
    m_noUpgradeMark = true;
    RefreshDeviceList();
}

}  // namespace zevik

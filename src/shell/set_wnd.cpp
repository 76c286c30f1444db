#include "shell/set_wnd.h"

#include <fmt/format.h>

#include "platform/trace.h"
#include "shell/app_messages.h"
#include "shell/msg_wnd.h"
#include "shell/update_info_list_item_ui.h"
#include "ui/check_box_ui.h"
#include "ui/combo_ui.h"
#include "ui/message_loop.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/tab_layout_ui.h"

namespace zevik {

namespace {

constexpr std::string_view kLanguageCombo = "Language_combox_info";
constexpr std::string_view kUpdateTabs = "get_update_tab_layout";
constexpr int kListPage = 0;
constexpr int kConfirmPage = 1;

}  // namespace

CSetWnd::CSetWnd(std::vector<LanguageEntry> languages, int current)
    : m_languages(std::move(languages)),
      m_chosen(current),
      m_updateEventMessage(RegisterWindowMessage(kUpdateEventMessageName)) {}

CSetWnd::~CSetWnd() { m_update.Stop(); }

void CSetWnd::InitWindow() {
    CSecondaryWnd::InitWindow();
    auto* combo = dynamic_cast<CComboUI*>(m_pm.FindControl(kLanguageCombo));
    if (combo == nullptr) return;
    combo->RemoveAll();
    for (const LanguageEntry& language : m_languages) combo->AddItem(language.text);
    combo->SelectItem(m_chosen, false);
}

CControlUI* CSetWnd::CreateControl(std::string_view className) {
    if (className == CUpdateInfoListItemUI::kClassName) return new CUpdateInfoListItemUI;
    return CSecondaryWnd::CreateControl(className);
}

void CSetWnd::StartUpdate() {
    if (!m_updateSetup || m_update.Started()) return;
    CMessageLoop* loop = CMessageLoop::Current();
    const HWND hwnd = GetHWND();
    // Called by the workers: one post at a time is enough, the window reads the latest state.
    m_update.Start(*m_updateSetup, [this, loop, hwnd] {
        if (loop != nullptr && !m_refreshPosted.exchange(true)) loop->Post(hwnd, kUpdateChangedMessage, 0, 0);
    });
}

void CSetWnd::RefreshUpdate() {
    m_refreshPosted.store(false);
    const CSetWndUpdate::Events events = m_update.Refresh();
    if (events.allCurrent) {
        if (CMessageLoop* loop = CMessageLoop::Current(); loop != nullptr && GetParentHWND() != 0)
            loop->Send(GetParentHWND(), UM_UPDATE_DONE, 0, 0);
    }
    if (events.saved) {
        ShowMessage(GetHWND(), "tips_text", "update_saved_text", GetWindowDpi(), 0,
                    m_update.DownloadFolder().string());
    }
}

void CSetWnd::ShowUpdatePage(int page) {
    if (auto* tabs = dynamic_cast<CTabLayoutUI*>(m_pm.FindControl(kUpdateTabs))) tabs->SelectItem(page, false);
}

void CSetWnd::CloseIfIdle() {
    if (!m_update.CanClose()) {
        Trace("settings window: a download is running; the window stays open");
        return;
    }
    m_update.Stop();
    Close(0);
}

void CSetWnd::OnUpdateClick(std::string_view name) {
    if (name == "update_fw_and_ap") {
        ShowUpdatePage(kConfirmPage);
    } else if (name == "update_OK_btn") {
        m_update.ConfirmDownloads();
        if (CControlUI* offer = m_pm.FindControl("update_fw_and_ap")) offer->SetEnabled(false);
        ShowUpdatePage(kListPage);
    } else if (name == "set_in_update_wnd_btn") {
        if (CControlUI* tip = m_pm.FindControl("update_tishi_layout")) tip->SetVisible(false);
        ResizeClient(m_pm.GetDPIObj().Scale(kWidth), m_pm.GetDPIObj().Scale(kHeight));
    }
}

void CSetWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        StartUpdate();
    } else if (msg.pSender != nullptr) {
        const std::string& name = msg.pSender->GetName();
        if (msg.sType == DUI_MSGTYPE_CLICK && (name == "closebtn" || name == "laterbtn")) {
            CloseIfIdle();
            return;
        }
        if (msg.sType == DUI_MSGTYPE_CLICK) OnUpdateClick(name);
        if (msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
            if (const auto row = m_update.RowOf(*msg.pSender)) {
                const auto* check = dynamic_cast<const CCheckBoxUI*>(msg.pSender);
                m_update.SetChecked(*row, check != nullptr && check->GetCheck());
                return;
            }
        }
        if (msg.sType == DUI_MSGTYPE_ITEMSELECT && name == kLanguageCombo) {
            if (const auto* combo = dynamic_cast<const CComboUI*>(msg.pSender); combo != nullptr) {
                m_chosen = combo->GetCurSel();
                if (const HWND owner = GetParentHWND(); owner != 0) {
                    if (CMessageLoop* loop = CMessageLoop::Current()) {
                        loop->Send(owner, UM_LANGUAGE_CHANGED, static_cast<WPARAM>(m_chosen), 0);
                    }
                }
            }
            return;
        }
    }
    CSecondaryWnd::Notify(msg);
}

LRESULT CSetWnd::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    if (msg == kUpdateChangedMessage) {
        bHandled = true;
        RefreshUpdate();
        return 0;
    }
    if (msg == WM_CLOSE && !EndingForExit() && !m_update.CanClose()) {
        // A download waits or runs: closing now would throw it away.
        bHandled = true;
        return 0;
    }
    if (msg == WM_CLOSE || msg == UM_CLOSE_FOR_EXIT) m_update.Stop();
    if (msg == m_updateEventMessage) {
        // Packages are stored, never run here: no updater works on a row of this window.
        bHandled = true;
        Trace(fmt::format("settings window: update event {} ({}) with no update running", wParam, lParam));
        Close(0);
        return 0;
    }
    if (msg == UM_LANGUAGE_CHANGED) m_update.ReshowTexts();
    return CSecondaryWnd::HandleCustomMessage(msg, wParam, lParam, bHandled);
}

LRESULT CSetWnd::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    // Alt+F4 ends the program: the workers stop before the window goes.
    if (wParam == SC_CLOSE) {
        m_update.Stop();
        MarkEndingForExit();
    }
    return CSecondaryWnd::OnSysCommand(msg, wParam, lParam, bHandled);
}

}  // namespace zevik

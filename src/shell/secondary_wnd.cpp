#include "shell/secondary_wnd.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/trace.h"
#include "shell/dialog_answers.h"
#include "ui/control_ui.h"
#include "ui/message_loop.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

namespace {

constexpr std::array<int, 7> kAcceptedDpi = {48, 72, 96, 120, 144, 168, 192};

// The open secondary windows, in the order they were created (UI thread only).
std::vector<CSecondaryWnd*>& OpenWindows() {
    static std::vector<CSecondaryWnd*> windows;
    return windows;
}

}  // namespace

CSecondaryWnd::CSecondaryWnd() {
    OpenWindows().push_back(this);
}

CSecondaryWnd::~CSecondaryWnd() {
    auto& windows = OpenWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

void CSecondaryWnd::CloseAllOwnedBy(HWND parent) {
    // At once, not posted: the caller may be about to hide or end, and the modal loop must see it.
    SendToAllOwnedBy(parent, WM_CLOSE, 0, 0);
}

void CSecondaryWnd::EndAllOwnedBy(HWND parent) {
    SendToAllOwnedBy(parent, UM_CLOSE_FOR_EXIT, 0, 0);
}

void CSecondaryWnd::SendToAllOwnedBy(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam) {
    // A message may end a modal loop and destroy the window: work on a copy, look each one up again.
    const std::vector<CSecondaryWnd*> snapshot = OpenWindows();
    for (CSecondaryWnd* window : snapshot) {
        const auto& live = OpenWindows();
        if (std::find(live.begin(), live.end(), window) == live.end()) continue;
        if (window->GetHWND() != 0 && window->GetParentHWND() == parent)
            window->SendMessage(msg, wParam, lParam);
    }
}

std::size_t CSecondaryWnd::OpenCount() {
    const auto& windows = OpenWindows();
    return static_cast<std::size_t>(std::count_if(windows.begin(), windows.end(),
                                                  [](const CSecondaryWnd* w) { return w->GetHWND() != 0; }));
}

CSecondaryWnd* CSecondaryWnd::LastOpened() {
    const auto& windows = OpenWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if ((*it)->GetHWND() != 0) return *it;
    }
    return nullptr;
}

void CSecondaryWnd::InitWindow() {
    ShowCaptionState();
}

void CSecondaryWnd::SetWindowDpi(int dpi) {
    if (dpi == m_dpi) return;
    if (std::find(kAcceptedDpi.begin(), kAcceptedDpi.end(), dpi) == kAcceptedDpi.end()) {
        Trace(DpiErrorTrace());
        dpi = kDefaultDpi;
    }
    m_dpi = dpi;
    m_pm.SetDPI(dpi);
    m_pm.ResetDPIAssets();
    const UiSize size = m_pm.GetInitSize();
    if (GetHWND() != 0 && size.cx > 0 && size.cy > 0) {
        ResizeClient(m_pm.GetDPIObj().Scale(size.cx), m_pm.GetDPIObj().Scale(size.cy));
    }
}

UINT CSecondaryWnd::RunModal() {
    if (DialogsRunHeadless()) {
        // Applied from the modal loop itself, so the window is as the user would find it.
        const HWND hwnd = GetHWND();
        if (CMessageLoop* loop = CMessageLoop::Current()) {
            loop->PostTask([this, hwnd] {
                const auto& live = OpenWindows();
                if (std::find(live.begin(), live.end(), this) == live.end() || GetHWND() != hwnd) return;
                ApplyAnswer(CDialogAnswers::Instance().Next());
            });
        }
    }
    const UINT result = ShowModal();
    // The loop was quit while the window stood (the program ends): it goes with the run.
    if (GetHWND() != 0) DestroyWindow();
    return result;
}

bool CSecondaryWnd::Click(std::string_view name) {
    CControlUI* control = m_pm.FindControl(name);
    if (control == nullptr || !control->IsVisible() || !control->IsEnabled()) return false;
    return control->Activate();
}

void CSecondaryWnd::ApplyAnswer(const std::string& answer) {
    if (answer == "yes" && Click("confirm_btn")) return;
    if (answer != "yes" && Click("cancel_btn")) return;
    if (!Click("closebtn")) Close(0);  // a window without its buttons must still end
}

LRESULT CSecondaryWnd::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    if (msg == WM_DPICHANGED) {
        bHandled = true;
        m_dpi = static_cast<int>(wParam & 0xFFFF);
        m_pm.SetDPI(m_dpi);
        m_pm.ResetDPIAssets();
        if (const auto* suggested = reinterpret_cast<const UiRect*>(lParam)) MoveWindow(*suggested);
        m_pm.NeedUpdate();
        return 0;
    }
    if (msg == UM_CLOSE_FOR_EXIT) {
        bHandled = true;
        m_endingForExit = true;
        Close(0);
        return 0;
    }
    if (msg == UM_LANGUAGE_CHANGED) {
        // The library has reloaded every text already: only the picture is out of date.
        bHandled = true;
        Invalidate();
        m_pm.NeedUpdate();
        return 0;
    }
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, bHandled);
}

LRESULT CSecondaryWnd::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    if (wParam == SC_CLOSE) {
        // Alt+F4 ends the program. The window closes first, so its modal loop and its opener finish
        // as after a cancel; the owner then runs the one orderly shutdown.
        bHandled = true;
        const HWND owner = GetParentHWND();
        CMessageLoop* loop = CMessageLoop::Current();
        Close(0);
        if (owner != 0 && loop != nullptr) {
            loop->Post(owner, UM_EXIT_PROGRAM, 0, 0);
        } else if (loop != nullptr) {
            loop->PostQuit(0);
        }
        return 0;
    }
    const LRESULT result = WindowImplBase::OnSysCommand(msg, wParam, lParam, bHandled);
    ShowCaptionState();
    return result;
}

void CSecondaryWnd::ShowCaptionState() {
    CControlUI* maxButton = m_pm.FindControl("maxbtn");
    CControlUI* restoreButton = m_pm.FindControl("restorebtn");
    if (maxButton != nullptr) maxButton->SetVisible(!IsMaximized());
    if (restoreButton != nullptr) restoreButton->SetVisible(IsMaximized());
}

void CSecondaryWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
        const std::string& name = msg.pSender->GetName();
        if (name == "minbtn") {
            SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        } else if (name == "maxbtn") {
            SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
        } else if (name == "restorebtn") {
            SendMessage(WM_SYSCOMMAND, SC_RESTORE);
        }
    }
    WindowImplBase::Notify(msg);
}

}  // namespace zevik

#include "ui/window_impl_base.h"

#include "platform/trace.h"
#include "ui/dialog_builder.h"

namespace zevik {

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() {
    DetachQuietly();  // the host goes while the paint manager it shows is still whole
    m_pm.RemoveNotifier(this);
}

void WindowImplBase::Notify(TNotifyUI& msg) { NotifyPump(msg); }

CControlUI* WindowImplBase::CreateControl(std::string_view /*className*/) { return nullptr; }

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& bHandled) {
    bHandled = false;
    return 0;
}

void WindowImplBase::OnTimer(UINT_PTR /*id*/) {}

LRESULT WindowImplBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    LRESULT result = HandleCustomMessage(msg, wParam, lParam, handled);
    if (handled) return result;
    switch (msg) {
        case WM_CREATE:
            result = OnCreate(msg, wParam, lParam, handled);
            break;
        case WM_CLOSE:
            result = OnClose(msg, wParam, lParam, handled);
            break;
        case WM_DESTROY:
            result = OnDestroy(msg, wParam, lParam, handled);
            break;
        case WM_SIZE:
            result = OnSize(msg, wParam, lParam, handled);
            break;
        case WM_TIMER:
            OnTimer(static_cast<UINT_PTR>(wParam));
            handled = true;
            break;
        case WM_SYSCOMMAND:
            result = OnSysCommand(msg, wParam, lParam, handled);
            break;
        default:
            break;
    }
    if (handled) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool& bHandled) {
    bHandled = true;
    m_pm.Init(this);
    std::string folder = GetSkinFolder();
    std::string file = GetSkinFile();
    std::string skin = folder.empty() ? file : folder + "/" + file;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(skin, {}, this, &m_pm);
    if (root == nullptr) {
        m_skinError = builder.GetLastError();
        Trace("UI: window '" + std::string(GetWindowClassName()) + "' has no skin: " + m_skinError);
        return -1;
    }
    m_skinError.clear();
    for (const std::string& warning : builder.GetWarnings()) Trace("UI: " + warning);
    m_pm.AttachDialog(root);
    m_pm.AddNotifier(this);
    UiSize init = m_pm.GetInitSize();
    if (init.cx > 0 && init.cy > 0) ResizeClient(m_pm.Scale(init.cx), m_pm.Scale(init.cy));
    UiRect rc = GetWindowRect();
    m_pm.SetClientSize(UiSize{rc.GetWidth(), rc.GetHeight()});
    InitWindow();
    return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& bHandled) {
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& bHandled) {
    m_pm.RemoveAllTimers();
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM lParam, bool& bHandled) {
    int cx = static_cast<int>(lParam & 0xFFFF);
    int cy = static_cast<int>((lParam >> 16) & 0xFFFF);
    m_pm.SetClientSize(UiSize{cx, cy});
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT, WPARAM wParam, LPARAM, bool& bHandled) {
    bHandled = true;
    if (wParam == SC_CLOSE) {
        Close(0);
    } else if (wParam == SC_MINIMIZE || wParam == SC_MAXIMIZE || wParam == SC_RESTORE) {
        SetShowState(wParam);
    } else {
        bHandled = false;
    }
    return 0;
}

}  // namespace zevik

#include "ui/window_wnd.h"

#include <algorithm>

#include "ui/message_loop.h"

namespace zevik {

namespace {

constexpr UINT kWsVisible = 0x10000000;

LPARAM PackSize(int cx, int cy) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(cy & 0xFFFF) << 16) | static_cast<std::uint32_t>(cx & 0xFFFF));
}

}  // namespace

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() { DetachQuietly(); }

void CWindowWnd::DetachQuietly() {
    // The owner should DestroyWindow first; a window dropped while open leaves quietly.
    if (m_hWnd == 0) return;
    if (CMessageLoop* loop = CMessageLoop::Current()) {
        loop->KillTimers(this);
        loop->UnregisterWindow(m_hWnd);
    }
    if (m_pModal != nullptr) {
        m_pModal->done = true;
        m_pModal = nullptr;
    }
    m_hWnd = 0;
    m_bVisible = false;
    m_host.reset();
}

HWND CWindowWnd::Create(HWND parent, std::string_view name, UINT style, UINT exStyle, int x, int y, int cx,
                        int cy) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop == nullptr || m_hWnd != 0) return 0;
    m_hWnd = loop->RegisterWindow(*this);
    m_hParent = parent;
    m_exStyle = exStyle;
    m_title = name;
    m_rcWindow = UiRect{x, y, x + std::max(cx, 0), y + std::max(cy, 0)};
    m_bVisible = (style & kWsVisible) != 0;
    m_host = GetUiBackend().CreateWindowHost(*this);
    m_host->SetTitle(m_title);
    m_host->SetWindowRect(m_rcWindow);
    if (HandleMessage(WM_CREATE, 0, 0) == -1) {
        DestroyWindow();
        return 0;
    }
    if (m_hWnd != 0 && m_host) m_host->Show(m_bVisible, m_bVisible);
    return m_hWnd;
}

HWND CWindowWnd::Create(HWND parent, std::string_view name, UINT style, UINT exStyle, const UiRect& rc) {
    return Create(parent, name, style, exStyle, rc.left, rc.top, rc.GetWidth(), rc.GetHeight());
}

void CWindowWnd::DestroyWindow() {
    if (m_hWnd == 0) return;
    HWND handle = m_hWnd;
    HandleMessage(WM_DESTROY, 0, 0);
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop != nullptr) {
        loop->KillTimers(this);
        loop->UnregisterWindow(handle);
    }
    if (m_host) {
        m_host->SetModal(false);
        m_host->Show(false, false);
        m_host.reset();
    }
    m_hWnd = 0;
    m_bVisible = false;
    if (m_pModal != nullptr) {
        m_pModal->done = true;
        m_pModal->code = m_closeCode;
        m_pModal = nullptr;
    }
    OnFinalMessage(handle);  // last: the object may be gone after this
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (m_hWnd == 0) return;
    m_bVisible = show;
    if (m_host) m_host->Show(show, takeFocus);
}

UINT CWindowWnd::ShowModal() {
    CMessageLoop* loop = CMessageLoop::Current();
    if (m_hWnd == 0 || loop == nullptr || m_pModal != nullptr) return 0;
    ModalState state;
    m_pModal = &state;
    m_closeCode = 0;
    if (m_host) m_host->SetModal(true);
    ShowWindow(true, true);
    bool ended = loop->RunUntil([&state] { return state.done; });
    if (!ended && !state.done) {
        // The loop was quit while the window stood: it stays, no longer modal.
        m_pModal = nullptr;
        if (m_host) m_host->SetModal(false);
        return 0;
    }
    return state.code;
}

void CWindowWnd::Close(UINT ret) {
    if (m_hWnd == 0) return;
    if (!PostMessage(WM_CLOSE, ret)) HandleMessage(WM_CLOSE, ret, 0);
}

void CWindowWnd::CenterWindow() {
    if (m_hWnd == 0) return;
    UiRect area = GetUiBackend().GetWorkArea();
    if (CMessageLoop* loop = CMessageLoop::Current(); loop != nullptr && m_hParent != 0) {
        if (CWindowWnd* owner = loop->FromHandle(m_hParent); owner != nullptr && owner->IsWindowVisible()) {
            area = owner->GetWindowRect();
        }
    }
    UiRect work = GetUiBackend().GetWorkArea();
    int cx = m_rcWindow.GetWidth();
    int cy = m_rcWindow.GetHeight();
    int x = area.left + (area.GetWidth() - cx) / 2;
    int y = area.top + (area.GetHeight() - cy) / 2;
    // Keep the window on the work area, its top-left corner first when it is larger.
    x = std::max(work.left, std::min(x, work.right - cx));
    y = std::max(work.top, std::min(y, work.bottom - cy));
    MoveWindow(UiRect{x, y, x + cx, y + cy});
}

void CWindowWnd::SetIcon(UINT resourceId) {
    m_icon = resourceId;
    if (m_host) m_host->SetIcon(resourceId);
}

void CWindowWnd::Invalidate() {
    if (m_host) m_host->Invalidate();
}

void CWindowWnd::SetWindowText(std::string_view title) {
    m_title = title;
    if (m_host) m_host->SetTitle(m_title);
}

void CWindowWnd::SetShowState(WPARAM sysCommand) {
    if (sysCommand != SC_MINIMIZE && sysCommand != SC_MAXIMIZE && sysCommand != SC_RESTORE) return;
    m_showState = sysCommand;
    if (m_host) m_host->SetShowState(sysCommand);
}

void CWindowWnd::MoveWindow(const UiRect& rc) { ApplyGeometry(rc, false); }

void CWindowWnd::ResizeClient(int cx, int cy) {
    MoveWindow(UiRect{m_rcWindow.left, m_rcWindow.top, m_rcWindow.left + std::max(cx, 0),
                      m_rcWindow.top + std::max(cy, 0)});
}

void CWindowWnd::OnHostGeometryChanged(const UiRect& rc) { ApplyGeometry(rc, true); }

void CWindowWnd::OnHostSeenChanged(bool seen) {
    if (seen == m_seenOnScreen) return;
    m_seenOnScreen = seen;
    if (m_hWnd != 0) OnSeenChanged(seen);
}

void CWindowWnd::ApplyGeometry(const UiRect& rc, bool fromHost) {
    UiRect old = m_rcWindow;
    m_rcWindow = rc;
    if (m_hWnd == 0) return;
    if (!fromHost && m_host) m_host->SetWindowRect(rc);
    if (old.left != rc.left || old.top != rc.top) HandleMessage(WM_MOVE, 0, PackSize(rc.left, rc.top));
    if (old.GetWidth() != rc.GetWidth() || old.GetHeight() != rc.GetHeight()) {
        HandleMessage(WM_SIZE, 0, PackSize(rc.GetWidth(), rc.GetHeight()));
    }
}

bool CWindowWnd::SetTimer(UINT_PTR id, UINT ms) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop == nullptr || m_hWnd == 0) return false;
    HWND handle = m_hWnd;
    return loop->SetTimer(this, id, ms, [loop, handle, id] {
        if (CWindowWnd* window = loop->FromHandle(handle)) window->HandleMessage(WM_TIMER, id, 0);
    });
}

bool CWindowWnd::KillTimer(UINT_PTR id) {
    CMessageLoop* loop = CMessageLoop::Current();
    return loop != nullptr && loop->KillTimer(this, id);
}

LRESULT CWindowWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop == nullptr || m_hWnd == 0) return 0;
    return loop->Send(m_hWnd, msg, wParam, lParam).value_or(0);
}

bool CWindowWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    CMessageLoop* loop = CMessageLoop::Current();
    return loop != nullptr && m_hWnd != 0 && loop->Post(m_hWnd, msg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM /*lParam*/) {
    if (msg == WM_CLOSE) {
        m_closeCode = static_cast<UINT>(wParam);
        DestroyWindow();
    }
    return 0;
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/) {}

}  // namespace zevik

#pragma once
// CWindowWnd: a top-level window of the message model. It has a handle (GetHWND), receives messages
// through HandleMessage on the UI thread, and keeps its own state (visible, rectangle, title, icon);
// a backend host shows it.
//
// Contracts:
// - Create registers the window with the process's loop, creates the host and sends WM_CREATE.
// - Close(code) posts WM_CLOSE with the code; the default WM_CLOSE handling destroys the window.
//   ShowModal runs a nested loop until the window is destroyed and returns the code given to Close
//   (0 when destroyed otherwise, or when the loop was quit). It never touches the object after the
//   window is gone, so OnFinalMessage may delete it.
// - DestroyWindow sends WM_DESTROY, kills the window's timers, unregisters the handle and calls
//   OnFinalMessage last.
// - SendMessage/PostMessage may be called from any thread (see CMessageLoop).

#include <memory>
#include <string>

#include "ui/ui_backend.h"
#include "ui/window_messages.h"
#include "ui/ui_types.h"

namespace zevik {

class CPaintManagerUI;

class CWindowWnd {
public:
    static constexpr UINT kWsExNoActivate = 0x08000000;

    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    virtual std::string_view GetWindowClassName() const { return "Window"; }

    // The window's outer rectangle is (x, y, x + cx, y + cy) in screen coordinates. 0 on failure
    // (no loop, or already created).
    HWND Create(HWND parent, std::string_view name, UINT style, UINT exStyle, int x = 0, int y = 0,
                int cx = 0, int cy = 0);
    HWND Create(HWND parent, std::string_view name, UINT style, UINT exStyle, const UiRect& rc);
    void DestroyWindow();

    void ShowWindow(bool show = true, bool takeFocus = true);
    bool IsWindowVisible() const { return m_bVisible; }
    UINT ShowModal();
    bool IsModal() const { return m_pModal != nullptr; }
    void Close(UINT ret = IDOK);
    // Centres on the owner window, or on the work area without owner.
    void CenterWindow();
    void SetIcon(UINT resourceId);
    // Asks the host to paint the window again.
    void Invalidate();
    UINT GetIcon() const { return m_icon; }
    void SetWindowText(std::string_view title);
    const std::string& GetWindowText() const { return m_title; }
    HWND GetParentHWND() const { return m_hParent; }
    // A popup that closes when it loses the focus (extended style WS_EX_NOACTIVATE, as the skin
    // popup is created): the host shows it as such.
    bool IsPopupFrame() const { return (m_exStyle & kWsExNoActivate) != 0; }
    // Minimised / maximised / normal, changed by SC_MINIMIZE, SC_MAXIMIZE and SC_RESTORE.
    void SetShowState(WPARAM sysCommand);
    bool IsMinimized() const { return m_showState == SC_MINIMIZE; }
    bool IsMaximized() const { return m_showState == SC_MAXIMIZE; }

    // Geometry (screen coordinates; the client area is the whole window: windows are frameless).
    UiRect GetWindowRect() const { return m_rcWindow; }
    void MoveWindow(const UiRect& rc);
    void ResizeClient(int cx, int cy);

    // Window timers: WM_TIMER with the id in wParam, until killed.
    bool SetTimer(UINT_PTR id, UINT ms);
    bool KillTimer(UINT_PTR id);

    // Through the process's loop; 0 / false when the message could not be delivered.
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // The manager of the window's controls, nullptr for a window without controls.
    virtual CPaintManagerUI* GetPaintManager() { return nullptr; }
    IWindowHost* GetHost() const { return m_host.get(); }

    // The host reports a new rectangle (the user moved or resized the window): WM_MOVE/WM_SIZE.
    void OnHostGeometryChanged(const UiRect& rc);
    // Whether any of the window can be seen on the screen, as its host reports it: false while the
    // window is hidden, minimised or (where the desktop says so) covered by others. True until a
    // host reports otherwise. A change reaches the window through OnSeenChanged.
    bool IsSeenOnScreen() const { return m_seenOnScreen; }
    void OnHostSeenChanged(bool seen);

    // The window procedure. The default handles WM_CLOSE (destroys the window) and returns 0.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // The last call for the window; the object may delete itself here.
    virtual void OnFinalMessage(HWND hWnd);
    // The window became seen or unseen on the screen (UI thread). Windows that draw something
    // continuously stop while unseen.
    virtual void OnSeenChanged(bool seen) { (void)seen; }
    // For destructors of windows dropped while open: releases the handle, timers and host without
    // sending messages. A derived window calls it before its own members (its paint manager) go, so
    // the host never outlives what it shows.
    void DetachQuietly();

private:
    struct ModalState {
        bool done = false;
        UINT code = 0;
    };
    void ApplyGeometry(const UiRect& rc, bool fromHost);

    HWND m_hWnd = 0;
    HWND m_hParent = 0;
    UINT m_exStyle = 0;
    std::unique_ptr<IWindowHost> m_host;
    bool m_bVisible = false;
    UiRect m_rcWindow;
    std::string m_title;
    UINT m_icon = 0;
    UINT m_closeCode = 0;
    ModalState* m_pModal = nullptr;
    WPARAM m_showState = SC_RESTORE;
    bool m_seenOnScreen = true;
};

}  // namespace zevik

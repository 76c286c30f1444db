#pragma once
// WindowImplBase: a window whose contents are a skin. On WM_CREATE it builds the skin (GetSkinFolder
// + GetSkinFile, a resource id or a file), with itself as the builder callback, attaches the tree to
// its paint manager, registers itself as notifier, sizes the window to the skin's "size" (scaled)
// when the skin gives one, and calls InitWindow. The manager then raises "windowinit".
//
// Message handling order: HandleCustomMessage first; when it did not set bHandled, the window's own
// handlers (WM_CREATE, WM_CLOSE, WM_DESTROY, WM_SIZE, WM_TIMER -> OnTimer, WM_SYSCOMMAND), then the
// defaults of CWindowWnd.
//
// Notify's default dispatches through the notification pump (the window's own message handlers and
// virtual windows). It does not act on caption-button names: each window decides what its close
// button does (the main window keeps running in the tray).

#include <string>

#include "ui/dialog_builder_callback.h"
#include "ui/notify_pump.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/window_wnd.h"

namespace zevik {

class WindowImplBase : public CWindowWnd, public CNotifyPump, public INotifyUI, public IDialogBuilderCallback {
public:
    WindowImplBase();
    ~WindowImplBase() override;

    CPaintManagerUI* GetPaintManager() override { return &m_pm; }

    // The skin: folder below the resource path ("" for none) and file or resource id.
    virtual std::string GetSkinFolder() { return {}; }
    virtual std::string GetSkinFile() = 0;

    // After the skin was built and attached.
    virtual void InitWindow() {}
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(std::string_view className) override;
    // Called first for every message; set bHandled to stop the default handling.
    virtual LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    // WM_TIMER of a window timer (CWindowWnd::SetTimer).
    virtual void OnTimer(UINT_PTR id);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The error of the last skin build, "" when it succeeded.
    const std::string& GetSkinError() const { return m_skinError; }

protected:
    virtual LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled);

    CPaintManagerUI m_pm;

private:
    std::string m_skinError;
};

}  // namespace zevik

#pragma once
// The renderer seam. The core keeps all state of windows, tray icon and menus; a backend shows them.
// The headless backend (the default) shows nothing; the Qt renderer installs its own backend.
//
// A host reports user actions back through the core object it serves:
// - window: CWindowWnd::OnHostGeometryChanged (moved/resized by the user or the system),
//   CWindowWnd::OnHostSeenChanged (minimised, covered, shown: whether any of it can be seen),
//   CWindowWnd::SendMessage(WM_SYSCOMMAND, SC_CLOSE) for a close request, WM_ACTIVATE for activation;
// - tray icon: CTrayIcon::OnUserAction(mouse message);
// - menu: CMenuWnd::ChooseItem(name) or CMenuWnd::Close().

#include <memory>
#include <string_view>

#include "ui/ui_types.h"

namespace zevik {

class CControlUI;
class CWindowWnd;
class CTrayIcon;
class CMenuWnd;

class IWindowHost {
public:
    virtual ~IWindowHost() = default;
    virtual void Show(bool show, bool activate) = 0;
    // Outer rectangle in screen coordinates.
    virtual void SetWindowRect(const UiRect& rc) = 0;
    virtual void SetTitle(std::string_view title) = 0;
    virtual void SetIcon(UINT resourceId) = 0;
    // A modal window blocks input to its owner while it runs.
    virtual void SetModal(bool modal) = 0;
    virtual void BringToFront() = 0;
    // The window's contents need painting again.
    virtual void Invalidate() = 0;
    // Minimised, maximised or normal (SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE).
    virtual void SetShowState(WPARAM sysCommand) { (void)sysCommand; }
};

class ITrayHost {
public:
    virtual ~ITrayHost() = default;
    virtual void Show(bool show) = 0;
    virtual void SetIcon(UINT resourceId) = 0;
    virtual void SetToolTip(std::string_view tip) = 0;
};

class IMenuHost {
public:
    virtual ~IMenuHost() = default;
    // Shows the menu's items at the point (screen coordinates) with the menu's alignment flags.
    virtual void Popup(UiPoint pt, int alignment) = 0;
    virtual void Close() = 0;
};

// A monitor as the renderer sees it: its full rectangle (not the work area) in physical pixels, and the
// device-pixel ratio the renderer applies on it (window geometry of the core is in device-independent
// pixels: one of them is devicePixelRatio physical pixels).
struct MonitorInfo {
    UiRect physical;
    double devicePixelRatio = 1.0;
    friend bool operator==(const MonitorInfo&, const MonitorInfo&) = default;
};

class IUiBackend {
public:
    virtual ~IUiBackend() = default;
    virtual std::unique_ptr<IWindowHost> CreateWindowHost(CWindowWnd& window) = 0;
    virtual std::unique_ptr<ITrayHost> CreateTrayHost(CTrayIcon& tray) = 0;
    virtual std::unique_ptr<IMenuHost> CreateMenuHost(CMenuWnd& menu) = 0;
    // The usable area of the screen, for centring.
    virtual UiRect GetWorkArea() const = 0;
    virtual UiPoint GetCursorPos() const = 0;
    // The monitor nearest to the window. Backends that know their screens override this; the default
    // is the work area at ratio 1.
    virtual MonitorInfo GetMonitorInfo(const CWindowWnd& window) const {
        (void)window;
        return MonitorInfo{GetWorkArea(), 1.0};
    }
    // The width (window client pixels, DPI applied) the control needs to show text on one line in the
    // font it is shown with, including what the renderer draws around the text of such a control
    // (frame, style padding), but not the skin's text padding. Called during layout, on the UI
    // thread. The default is the fixed-width estimate of text_measure.h.
    virtual int MeasureTextWidth(const CControlUI& control, std::string_view text) const;
};

// The process's backend; the headless one unless another was installed.
IUiBackend& GetUiBackend();
// Installs a backend (not owned; nullptr restores the headless one). Install before creating windows.
void SetUiBackend(IUiBackend* backend);

// Shows nothing. The work area and the one monitor are 1920 x 1080 (ratio 1) unless set.
class CHeadlessBackend final : public IUiBackend {
public:
    std::unique_ptr<IWindowHost> CreateWindowHost(CWindowWnd& window) override;
    std::unique_ptr<ITrayHost> CreateTrayHost(CTrayIcon& tray) override;
    std::unique_ptr<IMenuHost> CreateMenuHost(CMenuWnd& menu) override;
    UiRect GetWorkArea() const override { return m_workArea; }
    UiPoint GetCursorPos() const override { return m_cursor; }
    void SetWorkArea(const UiRect& rc) { m_workArea = rc; }
    void SetCursorPos(UiPoint pt) { m_cursor = pt; }
    MonitorInfo GetMonitorInfo(const CWindowWnd&) const override { return m_monitor; }
    void SetMonitorInfo(const MonitorInfo& monitor) { m_monitor = monitor; }

private:
    UiRect m_workArea{0, 0, 1920, 1080};
    MonitorInfo m_monitor{UiRect{0, 0, 1920, 1080}, 1.0};
    UiPoint m_cursor;
};

}  // namespace zevik

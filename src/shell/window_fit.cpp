#include "shell/window_fit.h"

#include <algorithm>
#include <cmath>

#include "ui/dpi.h"
#include "ui/paint_manager_ui.h"
#include "ui/ui_backend.h"
#include "ui/window_wnd.h"

namespace zevik {

namespace {

constexpr int kLargeMonitorDpi = 144;
constexpr int kLargeMonitorMinWidth = 1500;  // physical pixels, exclusive
constexpr int kLargeMonitorMinHeight = 960;  // physical pixels, exclusive
constexpr int kLowestManagerDpi = 24;
constexpr int kHighestManagerDpi = 960;

// Resizing the window raises WM_SIZE and "windowsize", whose handlers may ask for a fit again.
bool g_fitting = false;

class FittingScope {
public:
    FittingScope() { g_fitting = true; }
    ~FittingScope() { g_fitting = false; }
    FittingScope(const FittingScope&) = delete;
    FittingScope& operator=(const FittingScope&) = delete;
};

}  // namespace

int ChooseMonitorDpi(const UiRect& physical) {
    return physical.GetWidth() > kLargeMonitorMinWidth && physical.GetHeight() > kLargeMonitorMinHeight
               ? kLargeMonitorDpi
               : CDPI::kDefaultDpi;
}

int ManagerDpiFor(int dpi, double devicePixelRatio) {
    const double ratio = std::isfinite(devicePixelRatio) && devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const long scaled = std::lround(dpi / ratio);
    return static_cast<int>(std::clamp<long>(scaled, kLowestManagerDpi, kHighestManagerDpi));
}

int FitWindowToMonitor(CWindowWnd& window, UiSize layout) {
    if (window.GetHWND() == 0) return 0;
    if (g_fitting) return ChooseMonitorDpi(GetUiBackend().GetMonitorInfo(window).physical);
    const FittingScope scope;

    const bool visible = window.IsWindowVisible() && !window.IsMinimized();
    if (!visible) window.SendMessage(WM_SYSCOMMAND, SC_RESTORE);

    const MonitorInfo monitor = GetUiBackend().GetMonitorInfo(window);
    const int dpi = ChooseMonitorDpi(monitor.physical);
    const int managerDpi = ManagerDpiFor(dpi, monitor.devicePixelRatio);

    // At 96 DPI the layout is its own size; the managers then grow the window with their scale.
    CPaintManagerUI::SetAllDPI(CDPI::kDefaultDpi);
    window.ResizeClient(layout.cx, layout.cy);
    CPaintManagerUI::SetAllDPI(managerDpi);
    // A manager scales the window by the ratio of its DPIs; the layout's own rounding is the size.
    CDPI scale;
    scale.SetDPI(managerDpi);
    const UiSize size = scale.Scale(layout);
    window.ResizeClient(size.cx, size.cy);

    window.CenterWindow();
    window.ShowWindow(visible, visible);
    return dpi;
}

}  // namespace zevik

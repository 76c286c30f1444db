#pragma once
// Sizing the main window for the monitor it is on. The skin is laid out for 1000 x 640 at 96 DPI; on
// a large monitor the whole window is drawn at 144 DPI instead.
//
// The choice is made in physical pixels. The renderer already multiplies every length by the
// monitor's device-pixel ratio, so the paint managers get the chosen DPI divided by that ratio: the
// window ends up at the layout times chosen / 96 physical pixels whatever the ratio.

#include "ui/ui_types.h"

namespace zevik {

class CWindowWnd;

// 144 on a monitor wider than 1500 and taller than 960 physical pixels, else 96.
int ChooseMonitorDpi(const UiRect& physical);
// The paint managers' DPI that draws at dpi on a renderer with this device-pixel ratio (rounded,
// kept within what a manager accepts; a ratio that is not a positive number counts as 1).
int ManagerDpiFor(int dpi, double devicePixelRatio);

// Fits the window to the monitor nearest to it and returns the chosen DPI (96 or 144), 0 for a window
// that does not exist. A window that is hidden or minimised is restored (WM_SYSCOMMAND SC_RESTORE);
// the window is shown at the end only if it was visible and not minimised, else it is hidden. Every
// paint manager of the process is set to 96 DPI, the window to the layout at that scale, then every
// manager to the managers' DPI; the window is then exactly the layout scaled by that DPI, centred.
// UI thread only. A call made while one runs (from a size notification of the fitting itself)
// changes nothing and returns the choice the running call applies.
int FitWindowToMonitor(CWindowWnd& window, UiSize layout = {1000, 640});

}  // namespace zevik

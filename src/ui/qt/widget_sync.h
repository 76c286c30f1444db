#pragma once
// CWidgetSync: sets a widget's state from its control, aspect by aspect (text, visibility, enabled
// state, style, background colour, value, items). Changes made here never reach the core again:
// signals of the widget are blocked while it is updated.

#include <QColor>
#include <QFont>

#include "ui/qt/qt_renderer.h"
#include "ui/ui_types.h"

namespace zevik {

class CWidgetSync {
public:
    static void Apply(CControlUI& control, const RenderedControl& rendered, UiChange what,
                      CQtRenderer& renderer);

    // 0xAARRGGBB with 0 meaning "not set" (invalid colour).
    static QColor ToColor(UiColor color);
    // The font of a control: its label font id in the manager's table, else the manager's default,
    // else the application font; sizes scaled by the manager's DPI.
    static QFont FontFor(const CControlUI& control, const CPaintManagerUI& manager);

private:
    static void ApplyText(CControlUI& control, const RenderedControl& rendered);
    static void ApplyStyle(CControlUI& control, const RenderedControl& rendered, CQtRenderer& renderer);
    // Only the background colour changed: the painted kinds take the colour alone.
    static void ApplyBkColor(CControlUI& control, const RenderedControl& rendered, CQtRenderer& renderer);
    static void ApplyForeImage(CControlUI& control, const RenderedControl& rendered, CQtRenderer& renderer);
    static void ApplyState(CControlUI& control, const RenderedControl& rendered);
    static void ApplyItems(CControlUI& control, const RenderedControl& rendered);
};

}  // namespace zevik

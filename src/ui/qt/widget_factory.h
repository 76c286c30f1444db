#pragma once
// CWidgetFactory: chooses the widget that shows a control and connects the widget's user input to
// the control's user operations.

#include "ui/qt/qt_renderer.h"

namespace zevik {

class CWidgetFactory {
public:
    // The kind of widget a control gets (the most specific class wins; the program's own classes are
    // recognised by class name: "...CircleProgress..." a ring, "...DeviceKeyButton..." a key cap,
    // "...Chart..." a bar graph, "...RedioMacroButton..." a painted button). A key cap is a light,
    // painted in its parent's light layer, when it takes no input or has lightlayer="true".
    static WidgetKind KindFor(CControlUI& control);
    // A new widget under parent, wired to the control. The renderer outlives the widget.
    static RenderedControl Create(CControlUI& control, QWidget* parent, CQtRenderer& renderer);

private:
    static void Wire(CControlUI& control, const RenderedControl& rendered, CQtRenderer& renderer);
};

}  // namespace zevik

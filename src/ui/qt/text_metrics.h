#pragma once
// How much room the renderer's widgets give text: the pixels a widget draws around its text on one
// line (frame, style padding, a check box's indicator) and the text's width in the widget's own font
// (the font the skin names, at the manager's DPI, after any style sheet of the widget's role).
// Auto-width controls are sized with these; whatever a widget really shows is measured the same way.

#include <QString>
#include <QWidget>

#include "ui/qt/qt_renderer.h"

namespace zevik {

// Pixels of the widget's width that its text cannot use: for push buttons and check boxes what their
// style keeps outside the contents rectangle; 0 for painted widgets (their text padding is the skin's)
// and every other kind.
int TextChrome(QWidget& widget, WidgetKind kind);

// The advance of text on one line in the widget's font, after the widget's style is applied.
int TextAdvance(QWidget& widget, const QString& text);

}  // namespace zevik

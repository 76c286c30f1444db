#pragma once
// Copies of what lies beneath a widget in its window. Widgets that paint every pixel of their
// rectangle (key caps, lights) show their rounded corners over such a copy, so a change of their own
// colour repaints them alone and not the page, layouts and picture under them.

#include <QImage>
#include <QSize>

class QWidget;

namespace zevik::backdrop {

// Tells every widget holding a copy that the widgets beneath it may show something else now (their
// look changed in a pass that may also repaint the holder for its colour): each copies again when it
// next paints.
void MayHaveChanged();
// The same for a change of one widget's look, and the holders over it are repainted: Qt repaints
// nothing under a widget that paints all its pixels, so they would go on showing the old copy.
void Changed(const QWidget& widget);
// Holders register for Changed while they exist.
void Watch(QWidget& holder);
void Unwatch(QWidget& holder);
// Bumped by MayHaveChanged; a copy taken at another generation is stale. Widgets live on the UI thread.
unsigned Generation();

// Draws what lies beneath widget in its window into a premultiplied image of the widget's size in
// device pixels: from the window down to the widget's parent, each ancestor's own painting, then its
// children that lie beneath the next one on the way (earlier in the stacking order) with everything in
// them. Nothing above the widget and not the widget itself, so it may run inside the widget's own
// paint event.
QImage Capture(QWidget& widget, const QSize& pixels, qreal ratio);

}  // namespace zevik::backdrop

#pragma once
// Paints the lights (CLightWidget) of one parent widget. It covers the rectangle around its lights,
// stacked just above the topmost of them, lets the mouse through, and paints every pixel of that
// rectangle (Qt::WA_OpaquePaintEvent): between and around the lights it shows a copy of what lies
// beneath it (backdrop.h), taken again whenever it is repainted for another reason than its lights,
// and after backdrop::MayHaveChanged. The lights whose colour changed in a pass of the event loop are
// repainted together, in one rectangle around them, from one picture of the layer.
//
// While one of its lights takes input, the layer takes the pointer: it hovers, presses and clicks the
// topmost such light under it and shows its tooltip; a press beside every light goes to the parent.

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

#include "ui/qt/key_cap_image.h"

namespace zevik {

class CLightWidget;

class CLightLayerWidget : public QWidget {
    Q_OBJECT
public:
    // The layer of parent's lights, made when missing.
    static CLightLayerWidget& Of(QWidget& parent);
    // Stacks parent's layer, if any, just above the topmost light (after its children were restacked).
    static void Restack(QWidget& parent);

    ~CLightLayerWidget() override;

    void Add(CLightWidget& light);
    void Remove(CLightWidget& light);
    // A light's colour, intensity or look changed: its rectangle is repainted with the others that
    // change in the same pass.
    void LightChanged(CLightWidget& light);
    // A light moved, was shown or hidden, or its look changed: the layer is laid out and painted anew.
    void LightsRearranged();

    // A light began or stopped taking input.
    void InputChanged();

    // Times the layer copied what lies beneath it.
    int BackdropCaptures() const { return m_backdropCaptures; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    explicit CLightLayerWidget(QWidget& parent);
    struct Entry {
        CLightWidget* light = nullptr;
        CKeyCapImage image;
        bool dirty = true;  // its colour changed since it was last painted
    };
    void StackAboveLights();
    // Places the layer around the wanted lights; hidden when there is none.
    void Layout();
    // Copies what lies beneath the layer and hands each light its part.
    void CaptureBackdrop(const QSize& pixels, qreal ratio);
    // The light's rectangle in the layer.
    QRect RectOf(const CLightWidget& light) const;
    // The rectangle in device pixels of the layer's picture.
    static QRect PixelRect(const QRect& rect, qreal ratio);
    // Composes the light into m_picture.
    void ComposeLight(Entry& entry, qreal ratio);
    // Asks for one repaint of the rectangles of the lights that changed in this pass.
    void RepaintChanged();
    // The topmost shown light at pos (layer coordinates); with input only when inputOnly.
    CLightWidget* LightAt(const QPoint& pos, bool inputOnly) const;
    // Moves the hover to light (none: nullptr) and sets the pointer's shape.
    void HoverOver(CLightWidget* light);

    std::vector<Entry> m_entries;
    QImage m_backdrop;
    QImage m_picture;  // m_backdrop with the lights over it
    QRect m_changed;   // around the changed lights not yet asked to be repainted
    bool m_repaintPosted = false;
    QRect m_own;                        // around the changed lights asked to be repainted
    unsigned m_backdropGeneration = 0;  // backdrop::Generation() when m_backdrop was copied
    bool m_layoutPending = false;
    int m_backdropCaptures = 0;
    QPointer<CLightWidget> m_hovered;
    QPointer<CLightWidget> m_pressed;
};

}  // namespace zevik

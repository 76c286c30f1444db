#pragma once
// A light of a device picture: a key cap that takes no input. The lights of one parent widget are
// painted together by that parent's CLightLayerWidget, so a frame of an animated preview is one paint
// of the changed lights instead of one paint event (with its painter, clipping and flush bookkeeping)
// per light.
//
// The widget itself is never shown; it keeps the light's state, its place (Place, since a hidden
// widget gets no move or resize events) and whether its control wants it shown (setVisible).
//
// A light may take input: then it is a key of the picture that the layer hovers, presses and clicks
// for it (the keyboard's keys are both keys and lights, and a frame recolours all of them).

#include <QPointer>
#include <QRect>

#include "ui/qt/key_cap_widget.h"

namespace zevik {

class CLightLayerWidget;

class CLightWidget : public CKeyCapWidget {
    Q_OBJECT
public:
    explicit CLightWidget(QWidget* parent);
    ~CLightWidget() override;

    // Wanted visibility: the widget stays hidden, its layer shows the light.
    void setVisible(bool visible) override;
    bool IsWanted() const { return m_wanted; }
    // Whether the light shows on screen: wanted, and its layer is visible.
    bool IsShown() const;

    // The light's rectangle in its parent.
    void Place(const QRect& rect);
    QRect Placed() const { return m_place; }

    CLightLayerWidget* Layer() const;

    // Whether the layer passes this light the pointer: hover, press and click.
    void SetTakesInput(bool takes);
    bool TakesInput() const { return m_takesInput; }
    bool IsHovered() const { return m_hover; }
    bool IsPressed() const { return m_pressed; }

signals:
    // A press and release of the left button inside the light, as a push button clicks.
    void clicked();

protected:
    void CapChanged(bool lookChanged) override;
    void changeEvent(QEvent* event) override;

private:
    friend class CLightLayerWidget;
    QPointer<CLightLayerWidget> m_layer;
    int m_slot = -1;  // the light's entry in its layer
    QRect m_place;
    bool m_wanted = false;
    bool m_takesInput = false;
    bool m_hover = false;
    bool m_pressed = false;
};

}  // namespace zevik

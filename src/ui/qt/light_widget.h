#pragma once
// A light of a device picture: a key cap that takes no input. The lights of one parent widget are
// painted together by that parent's CLightLayerWidget, so a frame of an animated preview is one paint
// of the changed lights instead of one paint event (with its painter, clipping and flush bookkeeping)
// per light.
//
// The widget itself is never shown; it keeps the light's state, its place (Place, since a hidden
// widget gets no move or resize events) and whether its control wants it shown (setVisible).

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

protected:
    void CapChanged(bool lookChanged) override;
    void changeEvent(QEvent* event) override;

private:
    friend class CLightLayerWidget;
    QPointer<CLightLayerWidget> m_layer;
    int m_slot = -1;  // the light's entry in its layer
    QRect m_place;
    bool m_wanted = false;
};

}  // namespace zevik

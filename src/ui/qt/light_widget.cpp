#include "ui/qt/light_widget.h"

#include <QEvent>

#include "ui/qt/light_layer_widget.h"

namespace zevik {

CLightWidget::CLightWidget(QWidget* parent) : CKeyCapWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QWidget::setVisible(false);  // explicitly hidden: showing the parent does not show it
    if (parent != nullptr) {
        m_layer = &CLightLayerWidget::Of(*parent);
        m_layer->Add(*this);
    }
}

CLightWidget::~CLightWidget() {
    if (CLightLayerWidget* layer = m_layer.data()) {
        layer->Remove(*this);
    }
}

void CLightWidget::setVisible(bool visible) {
    if (m_wanted == visible) {
        return;
    }
    m_wanted = visible;
    if (CLightLayerWidget* layer = m_layer.data()) {
        layer->LightsRearranged();
    }
}

CLightLayerWidget* CLightWidget::Layer() const {
    return m_layer.data();
}

bool CLightWidget::IsShown() const {
    const CLightLayerWidget* layer = m_layer.data();
    return m_wanted && layer != nullptr && layer->isVisible();
}

void CLightWidget::Place(const QRect& rect) {
    setGeometry(rect);  // kept for mapping, though nothing shows the widget itself
    if (m_place == rect) {
        return;
    }
    m_place = rect;
    if (CLightLayerWidget* layer = m_layer.data()) {
        layer->LightsRearranged();
    }
}

void CLightWidget::SetTakesInput(bool takes) {
    if (m_takesInput == takes) {
        return;
    }
    m_takesInput = takes;
    m_hover = false;
    m_pressed = false;
    if (CLightLayerWidget* layer = m_layer.data()) {
        layer->InputChanged();
    }
}

void CLightWidget::CapChanged(bool /*lookChanged*/) {
    if (CLightLayerWidget* layer = m_layer.data()) {
        layer->LightChanged(*this);
    }
}

void CLightWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) {
        CapChanged(true);
    }
}

}  // namespace zevik

#include "ui/qt/opaque_painted_widget.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/qt/backdrop.h"

namespace zevik {

COpaquePaintedWidget::COpaquePaintedWidget(QWidget* parent) : CPaintedControlWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    backdrop::Watch(*this);
}

COpaquePaintedWidget::~COpaquePaintedWidget() {
    backdrop::Unwatch(*this);
}

void COpaquePaintedWidget::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixels.isEmpty()) {
        return;
    }
    if (m_backdrop.isNull() || m_backdrop.size() != pixels || m_generation != backdrop::Generation()) {
        m_backdrop = backdrop::Capture(*this, pixels, ratio);
        m_generation = backdrop::Generation();
        ++m_captures;
    }
    {
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(event->rect(), m_backdrop, QRectF(QPointF(event->rect().topLeft()) * ratio,
                                                      QSizeF(event->rect().size()) * ratio));
    }
    CPaintedControlWidget::paintEvent(event);
}

void COpaquePaintedWidget::resizeEvent(QResizeEvent* event) {
    CPaintedControlWidget::resizeEvent(event);
    m_backdrop = QImage();
}

void COpaquePaintedWidget::moveEvent(QMoveEvent* event) {
    CPaintedControlWidget::moveEvent(event);
    m_backdrop = QImage();
}

void COpaquePaintedWidget::showEvent(QShowEvent* event) {
    CPaintedControlWidget::showEvent(event);
    m_backdrop = QImage();
}

}  // namespace zevik

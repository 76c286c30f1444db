#include "ui/qt/key_button_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "ui/qt/backdrop.h"

namespace zevik {

CKeyButtonWidget::CKeyButtonWidget(QWidget* parent) : CKeyCapWidget(parent) {
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    backdrop::Watch(*this);
}

CKeyButtonWidget::~CKeyButtonWidget() {
    backdrop::Unwatch(*this);
}

void CKeyButtonWidget::Repaint() {
    m_ownRepaint = true;
    update();
}

void CKeyButtonWidget::CapChanged(bool /*lookChanged*/) {
    Repaint();
}

KeyCapLook CKeyButtonWidget::CurrentLook() const {
    KeyCapLook look;
    look.selected = IsSelected();
    look.hover = m_hover;
    look.pressed = m_pressed;
    look.enabled = isEnabled();
    look.text = Text();
    look.font = font();
    return look;
}

void CKeyButtonWidget::paintEvent(QPaintEvent*) {
    const bool own = std::exchange(m_ownRepaint, false);
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixels.isEmpty()) {
        return;
    }
    m_image.SetLook(CurrentLook());
    if (!own || m_backdropGeneration != backdrop::Generation() || !m_image.HasBackdrop(pixels, ratio)) {
        m_image.SetBackdrop(backdrop::Capture(*this, pixels, ratio));
        m_backdropGeneration = backdrop::Generation();
        ++m_backdropCaptures;
    }
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPointF(0, 0), m_image.Compose(QSizeF(size()), ratio, LitColor(), Intensity()));
}

void CKeyButtonWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_image.Drop();
    m_image.DropBackdrop();
}

void CKeyButtonWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    m_image.DropBackdrop();
}

void CKeyButtonWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_image.DropBackdrop();
}

void CKeyButtonWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        Repaint();
        backdrop::Changed(*this);
    }
}

void CKeyButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) {
        return;
    }
    m_pressed = false;
    Repaint();
    backdrop::Changed(*this);
    // A press that ends outside the key is a cancelled click, as with a push button.
    if (rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void CKeyButtonWidget::enterEvent(QEnterEvent*) {
    m_hover = true;
    Repaint();
    backdrop::Changed(*this);  // the lights over a key show its hover
}

void CKeyButtonWidget::leaveEvent(QEvent*) {
    m_hover = false;
    Repaint();
    backdrop::Changed(*this);  // the lights over a key show its hover
}

}  // namespace zevik

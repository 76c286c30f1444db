#include "ui/qt/key_button_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/qt/theme_colors.h"

namespace zevik {

CKeyButtonWidget::CKeyButtonWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

void CKeyButtonWidget::SetColor(const QColor& color) {
    if (m_color != color) {
        m_color = color;
        update();
    }
}

void CKeyButtonWidget::SetIntensity(int percent) {
    const int clamped = std::clamp(percent, 0, 100);
    if (m_intensity != clamped) {
        m_intensity = clamped;
        update();
    }
}

void CKeyButtonWidget::SetSelected(bool selected) {
    if (m_selected != selected) {
        m_selected = selected;
        update();
    }
}

void CKeyButtonWidget::SetText(const QString& text) {
    if (m_text != text) {
        m_text = text;
        update();
    }
}

QColor CKeyButtonWidget::LitColor() const {
    return QColor(m_color.red() * m_intensity / 100, m_color.green() * m_intensity / 100,
                  m_color.blue() * m_intensity / 100);
}

void CKeyButtonWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal radius = std::min(outer.width(), outer.height()) * 0.14;
    const QColor lit = LitColor();

    // The light under the cap shows as a coloured rim; the cap itself stays dark so the legend reads.
    QColor glow = lit;
    glow.setAlpha(m_intensity == 0 ? 0 : 90 + m_intensity * 165 / 100);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRoundedRect(outer, radius, radius);

    const QRectF cap = outer.adjusted(2, 2, -2, -3);
    QLinearGradient grad(cap.topLeft(), cap.bottomLeft());
    const QColor top = m_pressed ? theme::Control() : (m_hover ? theme::ControlHover() : theme::Control());
    grad.setColorAt(0, top.lighter(115));
    grad.setColorAt(1, theme::Panel());
    p.setBrush(grad);
    p.drawRoundedRect(cap, radius * 0.8, radius * 0.8);

    // A thin light strip along the bottom edge of the cap, as the lit key's side.
    QRectF strip(cap.left() + radius, cap.bottom() - 2.5, cap.width() - 2 * radius, 2.0);
    p.setBrush(lit);
    p.drawRoundedRect(strip, 1, 1);

    if (m_selected) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(theme::Accent(), 2));
        p.drawRoundedRect(outer.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    }
    if (!m_text.isEmpty()) {
        p.setPen(isEnabled() ? theme::Text() : theme::TextDim());
        QFont f = font();
        f.setPixelSize(std::max(8, static_cast<int>(std::min(cap.height() * 0.32, 13.0))));
        f.setBold(true);
        p.setFont(f);
        p.drawText(cap.adjusted(2, 0, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, m_text);
    }
}

void CKeyButtonWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        update();
    }
}

void CKeyButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) {
        return;
    }
    m_pressed = false;
    update();
    // A press that ends outside the key is a cancelled click, as with a push button.
    if (rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void CKeyButtonWidget::enterEvent(QEnterEvent*) {
    m_hover = true;
    update();
}

void CKeyButtonWidget::leaveEvent(QEvent*) {
    m_hover = false;
    update();
}

}  // namespace zevik

#include "ui/qt/color_palette_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/qt/theme_colors.h"

namespace zevik {

CColorPaletteWidget::CColorPaletteWidget(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::CrossCursor);
}

void CColorPaletteWidget::SetColor(const QColor& color) {
    m_color = color;
    if (color.hsvHue() >= 0) {
        m_hue = color.hsvHue();
    }
    update();
}

QRect CColorPaletteWidget::FieldRect() const {
    return QRect(0, 0, width(), std::max(1, height() - kHueBarHeight - kGap));
}

QRect CColorPaletteWidget::HueRect() const {
    return QRect(0, height() - kHueBarHeight, width(), kHueBarHeight);
}

void CColorPaletteWidget::PickAt(const QPoint& pos) {
    if (m_dragging == Part::HueBar) {
        const QRect r = HueRect();
        const int x = std::clamp(pos.x() - r.left(), 0, std::max(1, r.width() - 1));
        m_hue = std::min(359, x * 360 / std::max(1, r.width()));
        m_color = QColor::fromHsv(m_hue, std::max(m_color.hsvSaturation(), 0), std::max(m_color.value(), 0));
        if (m_color.hsvSaturation() == 0 || m_color.value() == 0) {
            // Picking a hue from grey or black would show nothing; take the full colour instead.
            m_color = QColor::fromHsv(m_hue, 255, 255);
        }
    } else if (m_dragging == Part::Field) {
        const QRect r = FieldRect();
        const int x = std::clamp(pos.x() - r.left(), 0, std::max(1, r.width() - 1));
        const int y = std::clamp(pos.y() - r.top(), 0, std::max(1, r.height() - 1));
        const int sat = x * 255 / std::max(1, r.width() - 1);
        const int val = 255 - y * 255 / std::max(1, r.height() - 1);
        m_color = QColor::fromHsv(m_hue, sat, val);
    } else {
        return;
    }
    update();
    emit colorPicked(m_color);
}

void CColorPaletteWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (HueRect().contains(pos)) {
        m_dragging = Part::HueBar;
    } else if (FieldRect().contains(pos)) {
        m_dragging = Part::Field;
    } else {
        return;
    }
    PickAt(pos);
}

void CColorPaletteWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging != Part::None) {
        PickAt(event->position().toPoint());
    }
}

void CColorPaletteWidget::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = Part::None;
}

void CColorPaletteWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect field = FieldRect();
    QLinearGradient sat(field.topLeft(), field.topRight());
    sat.setColorAt(0, Qt::white);
    sat.setColorAt(1, QColor::fromHsv(m_hue, 255, 255));
    p.fillRect(field, sat);
    QLinearGradient val(field.topLeft(), field.bottomLeft());
    val.setColorAt(0, QColor(0, 0, 0, 0));
    val.setColorAt(1, Qt::black);
    p.fillRect(field, val);

    const QRect hue = HueRect();
    QLinearGradient hues(hue.topLeft(), hue.topRight());
    for (int i = 0; i <= 6; ++i) {
        hues.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 255, 255));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(hues);
    p.drawRoundedRect(hue, 3, 3);

    // Markers: a ring at the picked saturation/value and a notch at the hue.
    const int mx = field.left() + std::max(m_color.hsvSaturation(), 0) * (field.width() - 1) / 255;
    const int my = field.top() + (255 - m_color.value()) * (field.height() - 1) / 255;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2));
    p.drawEllipse(QPoint(mx, my), 5, 5);
    const int hx = hue.left() + m_hue * (hue.width() - 1) / 359;
    p.setPen(QPen(theme::Text(), 2));
    p.drawRoundedRect(QRect(hx - 3, hue.top() - 2, 6, hue.height() + 4), 2, 2);

    if (!isEnabled()) {
        // Dimmed as the other disabled controls: the colours still show what is stored.
        QColor veil = theme::Window();
        veil.setAlpha(170);
        p.fillRect(rect(), veil);
    }
}

}  // namespace zevik

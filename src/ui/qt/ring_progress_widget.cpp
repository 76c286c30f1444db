#include "ui/qt/ring_progress_widget.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/qt/theme_colors.h"

namespace zevik {

CRingProgressWidget::CRingProgressWidget(QWidget* parent) : QWidget(parent) {}

void CRingProgressWidget::SetRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = std::max(minimum, maximum);
    m_value = std::clamp(m_value, m_min, m_max);
    update();
}

void CRingProgressWidget::SetValue(int value) {
    m_value = std::clamp(value, m_min, m_max);
    update();
}

void CRingProgressWidget::SetText(const QString& text) {
    m_text = text;
    update();
}

double CRingProgressWidget::Fraction() const {
    if (m_max <= m_min) {
        return 0.0;
    }
    return static_cast<double>(m_value - m_min) / static_cast<double>(m_max - m_min);
}

void CRingProgressWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    const qreal pen = std::max(3.0, side * 0.09);
    QRectF ring((width() - side) / 2 + pen / 2, (height() - side) / 2 + pen / 2, side - pen, side - pen);

    p.setPen(QPen(theme::Control(), pen, Qt::SolidLine, Qt::FlatCap));
    p.drawEllipse(ring);
    const double fraction = Fraction();
    if (fraction > 0) {
        QConicalGradient grad(ring.center(), 90);
        grad.setColorAt(0, theme::Accent());
        grad.setColorAt(1, theme::AccentDark());
        p.setPen(QPen(QBrush(grad), pen, Qt::SolidLine, Qt::RoundCap));
        // Qt angles are in 1/16 degree, counter-clockwise from three o'clock.
        p.drawArc(ring, 90 * 16, -static_cast<int>(std::lround(fraction * 360 * 16)));
    }
    const QString text =
        m_text.isEmpty() ? QStringLiteral("%1%").arg(static_cast<int>(std::lround(fraction * 100))) : m_text;
    QFont f = font();
    f.setPixelSize(std::max(8, static_cast<int>(side * 0.22)));
    f.setBold(true);
    p.setFont(f);
    p.setPen(isEnabled() ? theme::Text() : theme::TextDim());
    p.drawText(ring, Qt::AlignCenter, text);
}

}  // namespace zevik

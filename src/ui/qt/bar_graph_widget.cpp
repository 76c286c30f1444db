#include "ui/qt/bar_graph_widget.h"

#include <QPainter>
#include <algorithm>

#include "ui/qt/theme_colors.h"

namespace zevik {

CBarGraphWidget::CBarGraphWidget(QWidget* parent) : QWidget(parent) {}

void CBarGraphWidget::SetRange(double minimum, double maximum) {
    m_min = minimum;
    m_max = std::max(minimum, maximum);
    update();
}

void CBarGraphWidget::SetValues(std::vector<double> values) {
    m_values = std::move(values);
    update();
}

void CBarGraphWidget::SetLabels(const QStringList& labels) {
    m_labels = labels;
    update();
}

double CBarGraphWidget::BarFraction(std::size_t index) const {
    if (index >= m_values.size() || m_max <= m_min) {
        return 0.0;
    }
    return std::clamp((m_values[index] - m_min) / (m_max - m_min), 0.0, 1.0);
}

void CBarGraphWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int count = static_cast<int>(m_values.size());
    if (count == 0) {
        return;
    }
    const int labelHeight = m_labels.isEmpty() ? 0 : 16;
    const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2 - labelHeight);
    const qreal slot = area.width() / count;
    const qreal barWidth = std::max(2.0, slot * 0.6);
    QFont f = font();
    f.setPixelSize(10);
    p.setFont(f);
    for (int i = 0; i < count; ++i) {
        const qreal x = area.left() + slot * i + (slot - barWidth) / 2;
        const QRectF track(x, area.top(), barWidth, area.height());
        p.setPen(Qt::NoPen);
        p.setBrush(theme::Control());
        p.drawRoundedRect(track, 2, 2);
        const qreal filled = area.height() * BarFraction(static_cast<std::size_t>(i));
        if (filled > 0) {
            const QRectF bar(x, area.bottom() - filled, barWidth, filled);
            QLinearGradient grad(track.bottomLeft(), track.topLeft());
            grad.setColorAt(0, theme::AccentDark());
            grad.setColorAt(1, theme::Accent());
            p.setBrush(grad);
            p.drawRoundedRect(bar, 2, 2);
        }
        if (i < m_labels.size()) {
            p.setPen(theme::TextDim());
            p.drawText(QRectF(area.left() + slot * i, area.bottom() + 2, slot, labelHeight), Qt::AlignCenter,
                       m_labels[i]);
        }
    }
}

}  // namespace zevik

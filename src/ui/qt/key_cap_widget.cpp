#include "ui/qt/key_cap_widget.h"

#include <algorithm>

namespace zevik {

void CKeyCapWidget::SetColor(const QColor& color) {
    if (m_color != color) {
        m_color = color;
        CapChanged(false);
    }
}

void CKeyCapWidget::SetIntensity(int percent) {
    const int clamped = std::clamp(percent, 0, 100);
    if (m_intensity != clamped) {
        m_intensity = clamped;
        CapChanged(false);
    }
}

void CKeyCapWidget::SetSelected(bool selected) {
    if (m_selected != selected) {
        m_selected = selected;
        CapChanged(true);
    }
}

void CKeyCapWidget::SetText(const QString& text) {
    if (m_text != text) {
        m_text = text;
        CapChanged(true);
    }
}

QColor CKeyCapWidget::LitColor() const {
    return QColor(m_color.red() * m_intensity / 100, m_color.green() * m_intensity / 100,
                  m_color.blue() * m_intensity / 100);
}

}  // namespace zevik

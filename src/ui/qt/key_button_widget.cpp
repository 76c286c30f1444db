#include "ui/qt/key_button_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/qt/theme_colors.h"

namespace zevik {

namespace {

// Bumped by BackdropsMayHaveChanged; widgets live on the UI thread only.
unsigned s_backdropGeneration = 0;

}  // namespace

CKeyButtonWidget::CKeyButtonWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
}

void CKeyButtonWidget::BackdropsMayHaveChanged() {
    ++s_backdropGeneration;
}

void CKeyButtonWidget::Repaint() {
    m_ownRepaint = true;
    update();
}

void CKeyButtonWidget::SetColor(const QColor& color) {
    if (m_color != color) {
        m_color = color;
        Repaint();
    }
}

void CKeyButtonWidget::SetIntensity(int percent) {
    const int clamped = std::clamp(percent, 0, 100);
    if (m_intensity != clamped) {
        m_intensity = clamped;
        Repaint();
    }
}

void CKeyButtonWidget::SetSelected(bool selected) {
    if (m_selected != selected) {
        m_selected = selected;
        DropLayers();
        Repaint();
    }
}

void CKeyButtonWidget::SetText(const QString& text) {
    if (m_text != text) {
        m_text = text;
        DropLayers();
        Repaint();
    }
}

QColor CKeyButtonWidget::LitColor() const {
    return QColor(m_color.red() * m_intensity / 100, m_color.green() * m_intensity / 100,
                  m_color.blue() * m_intensity / 100);
}

namespace {

struct KeyShapes {
    QRectF outer;
    QRectF cap;
    QRectF strip;
    qreal radius = 0;
};

KeyShapes ShapesOf(const QRect& rect) {
    KeyShapes k;
    k.outer = QRectF(rect).adjusted(1, 1, -1, -1);
    k.radius = std::min(k.outer.width(), k.outer.height()) * 0.14;
    k.cap = k.outer.adjusted(2, 2, -2, -3);
    // A thin light strip along the bottom edge of the cap, as the lit key's side.
    k.strip = QRectF(k.cap.left() + k.radius, k.cap.bottom() - 2.5, k.cap.width() - 2 * k.radius, 2.0);
    return k;
}

QImage Layer(const QSize& pixels, qreal ratio) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

// A premultiplied pixel scaled by a coverage of 0..255.
QRgb Cover(QRgb premultiplied, int coverage) {
    return qRgba(qRed(premultiplied) * coverage / 255, qGreen(premultiplied) * coverage / 255,
                 qBlue(premultiplied) * coverage / 255, qAlpha(premultiplied) * coverage / 255);
}

// Premultiplied source over destination.
QRgb Over(QRgb src, QRgb dst) {
    const int keep = 255 - qAlpha(src);
    return qRgba(qRed(src) + qRed(dst) * keep / 255, qGreen(src) + qGreen(dst) * keep / 255,
                 qBlue(src) + qBlue(dst) * keep / 255, qAlpha(src) + qAlpha(dst) * keep / 255);
}

// base + weight * (glow - glow's alpha * beneath), per premultiplied channel: the glow at a coverage
// of weight (0..255) under a layer whose composition with beneath is base. The same as composing the
// glow, the layer and beneath one over the other, as one multiply per channel.
QRgb Glow(QRgb base, QRgb beneath, QRgb glow, int weight) {
    const int glowAlpha = qAlpha(glow);
    const auto channel = [&](int b, int under, int g) {
        return std::clamp(b + weight * (g * 255 - glowAlpha * under) / (255 * 255), 0, 255);
    };
    return qRgba(
        channel(qRed(base), qRed(beneath), qRed(glow)), channel(qGreen(base), qGreen(beneath), qGreen(glow)),
        channel(qBlue(base), qBlue(beneath), qBlue(glow)), channel(qAlpha(base), qAlpha(beneath), glowAlpha));
}

}  // namespace

void CKeyButtonWidget::PrepareBase() {
    const QSize pixels = m_capTop.size();
    m_litPixels.clear();
    const int stride = static_cast<int>(m_frame.bytesPerLine() / sizeof(QRgb));
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* rim = reinterpret_cast<const QRgb*>(m_rim.constScanLine(y));
        const auto* strip = reinterpret_cast<const QRgb*>(m_strip.constScanLine(y));
        const auto* cap = reinterpret_cast<const QRgb*>(m_cap.constScanLine(y));
        const auto* top = reinterpret_cast<const QRgb*>(m_top.constScanLine(y));
        const auto* capTop = reinterpret_cast<const QRgb*>(m_capTop.constScanLine(y));
        const auto* beneath = reinterpret_cast<const QRgb*>(m_backdrop.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(m_frame.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            out[x] = Over(capTop[x], beneath[x]);
            const int weight = (255 - qAlpha(capTop[x])) * qAlpha(rim[x]) / 255;
            if (weight == 0 && qAlpha(strip[x]) == 0) {
                continue;  // the light does not show here
            }
            LitPixel lit;
            lit.offset = static_cast<std::uint32_t>(y * stride + x);
            lit.base = out[x];
            lit.beneath = beneath[x];
            lit.cap = cap[x];
            lit.top = top[x];
            lit.weight = static_cast<quint8>(weight);
            lit.rim = static_cast<quint8>(qAlpha(rim[x]));
            lit.strip = static_cast<quint8>(qAlpha(strip[x]));
            m_litPixels.push_back(lit);
        }
    }
    m_prepared = true;
}

void CKeyButtonWidget::BuildLayers(const QSize& pixels, qreal ratio) {
    m_prepared = false;  // m_frame is drawn anew
    const KeyShapes k = ShapesOf(rect());
    m_rim = Layer(pixels, ratio);
    m_strip = Layer(pixels, ratio);
    m_cap = Layer(pixels, ratio);
    m_top = Layer(pixels, ratio);
    m_capTop = Layer(pixels, ratio);
    m_frame = Layer(pixels, ratio);
    {
        QPainter p(&m_rim);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(k.outer, k.radius, k.radius);
    }
    {
        QPainter p(&m_strip);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(k.strip, 1, 1);
    }
    {
        // The cap stays dark so the legend reads; the light under it shows as the rim.
        QPainter p(&m_cap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        QLinearGradient grad(k.cap.topLeft(), k.cap.bottomLeft());
        const QColor top =
            m_pressed ? theme::Control() : (m_hover ? theme::ControlHover() : theme::Control());
        grad.setColorAt(0, top.lighter(115));
        grad.setColorAt(1, theme::Panel());
        p.setBrush(grad);
        p.drawRoundedRect(k.cap, k.radius * 0.8, k.radius * 0.8);
    }
    {
        QPainter p(&m_top);
        p.setRenderHint(QPainter::Antialiasing);
        if (m_selected) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(theme::Accent(), 2));
            p.drawRoundedRect(k.outer.adjusted(0.5, 0.5, -0.5, -0.5), k.radius, k.radius);
        }
        if (!m_text.isEmpty()) {
            p.setPen(isEnabled() ? theme::Text() : theme::TextDim());
            QFont f = font();
            f.setPixelSize(std::max(8, static_cast<int>(std::min(k.cap.height() * 0.32, 13.0))));
            f.setBold(true);
            p.setFont(f);
            p.drawText(k.cap.adjusted(2, 0, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, m_text);
        }
    }
    // Where no strip lies, the frame and legend over the cap is one layer, and the light shows only
    // where that layer lets it through.
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* cap = reinterpret_cast<const QRgb*>(m_cap.constScanLine(y));
        const auto* top = reinterpret_cast<const QRgb*>(m_top.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(m_capTop.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            out[x] = Over(top[x], cap[x]);
        }
    }
}

void CKeyButtonWidget::CaptureBackdrop(const QSize& pixels, qreal ratio) {
    m_backdrop = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    m_backdrop.setDevicePixelRatio(ratio);
    m_backdrop.fill(Qt::transparent);
    m_backdropGeneration = s_backdropGeneration;
    ++m_backdropCaptures;
    m_prepared = false;
    // From the window down to the key's parent: each ancestor's own painting, then its children that
    // lie beneath the next one on the way (earlier in the stacking order) with everything in them.
    // Nothing above the key and not the key itself: this runs inside the key's own paint event.
    std::vector<QWidget*> chain;
    for (QWidget* w = this; !w->isWindow() && w->parentWidget() != nullptr; w = w->parentWidget()) {
        chain.push_back(w->parentWidget());
    }
    std::reverse(chain.begin(), chain.end());
    chain.push_back(this);
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        QWidget* ancestor = chain[i];
        const QRect here(mapTo(ancestor, QPoint(0, 0)), size());
        ancestor->render(&m_backdrop, QPoint(0, 0), QRegion(here), QWidget::DrawWindowBackground);
        for (QObject* child : ancestor->children()) {
            if (child == chain[i + 1]) {
                break;
            }
            auto* sibling = qobject_cast<QWidget*>(child);
            if (sibling == nullptr || sibling->isWindow() || sibling->isHidden() ||
                !sibling->geometry().intersects(here)) {
                continue;
            }
            sibling->render(&m_backdrop, QPoint(0, 0), QRegion(here.translated(-sibling->pos())),
                            QWidget::DrawWindowBackground | QWidget::DrawChildren);
        }
    }
}

void CKeyButtonWidget::paintEvent(QPaintEvent*) {
    const bool own = std::exchange(m_ownRepaint, false);
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixels.isEmpty()) {
        return;
    }
    if (m_cap.isNull() || m_cap.size() != pixels || m_cap.devicePixelRatio() != ratio) {
        BuildLayers(pixels, ratio);
    }
    if (!own || m_backdropGeneration != s_backdropGeneration || m_backdrop.size() != pixels ||
        m_backdrop.devicePixelRatio() != ratio) {
        CaptureBackdrop(pixels, ratio);
    }
    if (!m_prepared) {
        PrepareBase();
    }
    const QColor lit = LitColor();
    QColor glow = lit;
    glow.setAlpha(m_intensity == 0 ? 0 : 90 + m_intensity * 165 / 100);
    const QRgb glowPixel = qPremultiply(glow.rgba());
    const QRgb litPixel = qPremultiply(lit.rgba());
    // Only the pixels the light reaches change: rim in the light's colour, the cap over it, the strip
    // over that, frame and legend on top, all over what lies beneath the key.
    auto* out = reinterpret_cast<QRgb*>(m_frame.bits());
    for (const LitPixel& px : m_litPixels) {
        if (px.strip == 0) {
            out[px.offset] = Glow(px.base, px.beneath, glowPixel, px.weight);
            continue;
        }
        QRgb pixel = Over(px.cap, Cover(glowPixel, px.rim));
        pixel = Over(Cover(litPixel, px.strip), pixel);
        pixel = Over(px.top, pixel);
        out[px.offset] = qAlpha(pixel) == 255 ? pixel : Over(pixel, px.beneath);
    }
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPointF(0, 0), m_frame);
}

void CKeyButtonWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    DropLayers();
    DropBackdrop();
}

void CKeyButtonWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    DropBackdrop();
}

void CKeyButtonWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    DropBackdrop();
}

void CKeyButtonWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) {
        DropLayers();
    }
}

void CKeyButtonWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        DropLayers();
        Repaint();
    }
}

void CKeyButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) {
        return;
    }
    m_pressed = false;
    DropLayers();
    Repaint();
    // A press that ends outside the key is a cancelled click, as with a push button.
    if (rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void CKeyButtonWidget::enterEvent(QEnterEvent*) {
    m_hover = true;
    DropLayers();
    Repaint();
}

void CKeyButtonWidget::leaveEvent(QEvent*) {
    m_hover = false;
    DropLayers();
    Repaint();
}

}  // namespace zevik

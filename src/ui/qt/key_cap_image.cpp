#include "ui/qt/key_cap_image.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <utility>

#include "ui/qt/theme_colors.h"

namespace zevik {

namespace {

struct KeyShapes {
    QRectF outer;
    QRectF cap;
    QRectF strip;
    qreal radius = 0;
};

KeyShapes ShapesOf(const QRectF& rect) {
    KeyShapes k;
    k.outer = rect.adjusted(1, 1, -1, -1);
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

// Every channel of a pixel times scale / 255, rounded, two channels per multiply.
inline QRgb ScaleByte(QRgb pixel, unsigned scale) {
    std::uint32_t redBlue = (pixel & 0xff00ffu) * scale;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
    std::uint32_t alphaGreen = ((pixel >> 8) & 0xff00ffu) * scale;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ffu) + 0x800080u) & 0xff00ff00u;
    return alphaGreen | redBlue;
}

}  // namespace

void CKeyCapImage::PrepareBase() {
    const QSize pixels = m_capTop.size();
    m_glowPixels.clear();
    m_stripOverCap.clear();
    m_stripPixels.clear();
    m_fixedAlpha = -1;
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
            const auto offset = static_cast<std::uint32_t>(y * stride + x);
            if (qAlpha(strip[x]) != 0 && qAlpha(cap[x]) == 255) {
                // top + (255 - top alpha) * (cap * (255 - strip) + lit * strip) / 255^2, rounded down
                // so that adding the light (rounded to nearest) never passes 255.
                const int through = 255 - qAlpha(top[x]);
                const int capShare = (255 - qAlpha(strip[x])) * through;
                const auto channel = [capShare](int topChannel, int capChannel) {
                    return topChannel + capChannel * capShare / (255 * 255);
                };
                const QRgb fixed =
                    qRgba(channel(qRed(top[x]), qRed(cap[x])), channel(qGreen(top[x]), qGreen(cap[x])),
                          channel(qBlue(top[x]), qBlue(cap[x])), channel(qAlpha(top[x]), 255));
                m_stripOverCap.push_back(
                    LinearPixel{offset, fixed, static_cast<quint8>(qAlpha(strip[x]) * through / 255)});
                continue;
            }
            if (qAlpha(strip[x]) != 0) {
                m_stripPixels.push_back(StripPixel{offset, beneath[x], cap[x], top[x],
                                                   static_cast<quint8>(qAlpha(rim[x])),
                                                   static_cast<quint8>(qAlpha(strip[x]))});
                continue;
            }
            const int weight = (255 - qAlpha(capTop[x])) * qAlpha(rim[x]) / 255;
            if (weight != 0) {
                m_glowPixels.push_back(GlowPixel{offset, out[x], beneath[x], 0, static_cast<quint8>(weight)});
            }
        }
    }
    m_prepared = true;
}

void CKeyCapImage::FixGlowAlpha(int alpha) {
    m_fixedAlpha = alpha;
    for (GlowPixel& px : m_glowPixels) {
        const int k = px.weight * alpha;
        // Rounded up, so that adding the glow (rounded to nearest) never passes 255.
        const auto channel = [k](int base, int under) {
            return std::max(0, base - (k * under + 255 * 255 - 1) / (255 * 255));
        };
        // Over an opaque backdrop the glow adds exactly the alpha taken here: rounded as it is, so an
        // opaque key stays opaque.
        const int beneathAlpha = qAlpha(px.beneath);
        const int fixedAlpha = beneathAlpha == 255
                                   ? qAlpha(px.base) - qAlpha(ScaleByte(qRgba(0, 0, 0, alpha), px.weight))
                                   : channel(qAlpha(px.base), beneathAlpha);
        px.fixed =
            qRgba(channel(qRed(px.base), qRed(px.beneath)), channel(qGreen(px.base), qGreen(px.beneath)),
                  channel(qBlue(px.base), qBlue(px.beneath)), std::max(0, fixedAlpha));
    }
}

void CKeyCapImage::BuildLayers(const QSizeF& logical, const QSize& pixels, qreal ratio) {
    m_prepared = false;  // m_frame is drawn anew
    const KeyShapes k = ShapesOf(QRectF(QPointF(0, 0), logical));
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
            m_look.pressed ? theme::Control() : (m_look.hover ? theme::ControlHover() : theme::Control());
        grad.setColorAt(0, top.lighter(115));
        grad.setColorAt(1, theme::Panel());
        p.setBrush(grad);
        p.drawRoundedRect(k.cap, k.radius * 0.8, k.radius * 0.8);
    }
    {
        QPainter p(&m_top);
        p.setRenderHint(QPainter::Antialiasing);
        if (m_look.selected) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(theme::Accent(), 2));
            p.drawRoundedRect(k.outer.adjusted(0.5, 0.5, -0.5, -0.5), k.radius, k.radius);
        }
        if (!m_look.text.isEmpty()) {
            p.setPen(m_look.enabled ? theme::Text() : theme::TextDim());
            QFont f = m_look.font;
            f.setPixelSize(std::max(8, static_cast<int>(std::min(k.cap.height() * 0.32, 13.0))));
            f.setBold(true);
            p.setFont(f);
            p.drawText(k.cap.adjusted(2, 0, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, m_look.text);
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

void CKeyCapImage::SetLook(const KeyCapLook& look) {
    if (!(m_look == look)) {
        m_look = look;
        Drop();
    }
}

void CKeyCapImage::SetBackdrop(QImage beneath) {
    m_backdrop = std::move(beneath);
    m_prepared = false;
}

const QImage& CKeyCapImage::Compose(const QSizeF& logical, qreal ratio, const QColor& lit, int intensity) {
    const QSize pixels = m_backdrop.size();
    if (m_cap.isNull() || m_cap.size() != pixels || m_cap.devicePixelRatio() != ratio) {
        BuildLayers(logical, pixels, ratio);
    }
    if (!m_prepared) {
        PrepareBase();
    }
    QColor glow = lit;
    glow.setAlpha(intensity == 0 ? 0 : 90 + intensity * 165 / 100);
    if (glow.alpha() != m_fixedAlpha) {
        FixGlowAlpha(glow.alpha());
    }
    const QRgb glowPixel = qPremultiply(glow.rgba());
    const QRgb litPixel = qPremultiply(lit.rgba());
    auto* out = reinterpret_cast<QRgb*>(m_frame.bits());
    for (const GlowPixel& px : m_glowPixels) {
        out[px.offset] = px.fixed + ScaleByte(glowPixel, px.weight);
    }
    for (const LinearPixel& px : m_stripOverCap) {
        out[px.offset] = px.fixed + ScaleByte(litPixel, px.weight);
    }
    // Elsewhere on the strip: rim in the light's colour, the cap over it, the strip over that, frame and
    // legend on top, all over what lies beneath the key.
    for (const StripPixel& px : m_stripPixels) {
        QRgb pixel = Over(px.cap, Cover(glowPixel, px.rim));
        pixel = Over(Cover(litPixel, px.strip), pixel);
        pixel = Over(px.top, pixel);
        out[px.offset] = qAlpha(pixel) == 255 ? pixel : Over(pixel, px.beneath);
    }
    return m_frame;
}

}  // namespace zevik

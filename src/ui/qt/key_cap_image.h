#pragma once
// The picture of one key cap of the keyboard and mouse pictures: the key's legend on a dark cap, lit
// from below in the key's colour at its intensity, with an accent frame while selected, composed over
// a copy of what lies beneath the cap.
//
// What does not depend on the light colour is drawn once per size, scale and look: the coverage of the
// rim and of the light strip, the cap below the strip, the frame and legend above it, and their
// composition with what lies beneath. A new colour only recomposes the pixels the light reaches (a
// preview recolours its lights many times a second; filling three antialiased rounded shapes each
// time cost most of it).

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

namespace zevik {

struct KeyCapLook {
    bool selected = false;
    bool hover = false;
    bool pressed = false;
    bool enabled = true;
    QString text;
    QFont font;

    bool operator==(const KeyCapLook&) const = default;
};

class CKeyCapImage {
public:
    // A look that differs from the current one draws the layers again at the next Compose.
    void SetLook(const KeyCapLook& look);
    const KeyCapLook& Look() const { return m_look; }

    // Whether a backdrop of this size and scale is held.
    bool HasBackdrop(const QSize& pixels, qreal ratio) const {
        return !m_backdrop.isNull() && m_backdrop.size() == pixels && m_backdrop.devicePixelRatio() == ratio;
    }
    // What lies beneath the cap, premultiplied, in device pixels.
    void SetBackdrop(QImage beneath);
    void DropBackdrop() { m_backdrop = QImage(); }
    // Forgets everything drawn (a new size).
    void Drop() {
        m_cap = QImage();
        m_prepared = false;
    }

    // The cap of the given logical size, scale, colour and intensity (0..100) over the backdrop; the
    // backdrop must be held at that size. The image stays valid until the next call.
    const QImage& Compose(const QSizeF& logical, qreal ratio, const QColor& lit, int intensity);

private:
    void BuildLayers(const QSizeF& logical, const QSize& pixels, qreal ratio);
    // Composes what does not depend on the colour with the backdrop into m_frame, and lists the pixels
    // the light reaches.
    void PrepareBase();
    void FixGlowAlpha(int alpha);

    KeyCapLook m_look;
    QImage m_rim;     // coverage of the rim (alpha of white)
    QImage m_strip;   // coverage of the light strip
    QImage m_cap;     // the cap, premultiplied; null: the layers must be drawn again
    QImage m_top;     // selection frame and legend
    QImage m_capTop;  // m_top over m_cap
    QImage m_frame;   // the composed key
    QImage m_backdrop;
    // A pixel of m_frame where the light shows through the frame, legend and cap (no strip): the
    // glow at the rim's coverage beneath them. For a glow of alpha a it is
    //   base + weight * (glow - a * beneath) / 255^2   per premultiplied channel,
    // so "fixed", the part without the glow's colour, is kept until the alpha (the intensity) changes
    // and a frame adds the glow scaled by the weight: one multiply per pair of channels.
    struct GlowPixel {
        std::uint32_t offset = 0;  // in m_frame's pixels
        QRgb base = 0;             // m_capTop over m_backdrop
        QRgb beneath = 0;          // m_backdrop
        QRgb fixed = 0;            // base - weight * a * beneath / 255^2, for m_fixedAlpha
        quint8 weight = 0;         // the rim's coverage that m_capTop lets through
    };
    // A pixel of m_frame on the light strip over an opaque cap: the frame and legend over the cap and
    // the strip in the light's (opaque) colour, which is
    //   fixed + weight * lit / 255   per premultiplied channel.
    struct LinearPixel {
        std::uint32_t offset = 0;
        QRgb fixed = 0;
        quint8 weight = 0;
    };
    // A pixel of m_frame on the light strip where the cap lets something through, with the layers that
    // compose it.
    struct StripPixel {
        std::uint32_t offset = 0;
        QRgb beneath = 0;  // m_backdrop
        QRgb cap = 0;      // m_cap
        QRgb top = 0;      // m_top
        quint8 rim = 0;    // coverage of the rim
        quint8 strip = 0;  // coverage of the strip
    };
    std::vector<GlowPixel> m_glowPixels;
    std::vector<LinearPixel> m_stripOverCap;
    std::vector<StripPixel> m_stripPixels;
    int m_fixedAlpha = -1;    // the glow alpha the GlowPixel::fixed values are for
    bool m_prepared = false;  // m_frame holds what does not depend on the colour, the lit pixels are listed
};

}  // namespace zevik

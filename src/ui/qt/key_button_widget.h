#pragma once
// A key cap of the keyboard and mouse pictures: the key's legend on a dark cap, lit from below in the
// key's colour at its intensity, with an accent frame while selected. A setter repaints the key only
// when its value changed (the lights' colours are set many times a second).
//
// The key paints every pixel of its rectangle (Qt::WA_OpaquePaintEvent): its rounded corners show a
// copy of what lies beneath it, taken from the window once, so a colour change repaints the key
// alone and not the page, layouts and picture under it. The copy is taken again whenever the key is
// repainted for another reason than its own state (an expose, a change of the widgets beneath) or
// moves, and after BackdropsMayHaveChanged.

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace zevik {

class CKeyButtonWidget : public QWidget {
    Q_OBJECT
public:
    explicit CKeyButtonWidget(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor Color() const { return m_color; }
    // Intensity of the light in percent; values outside 0..100 are clamped.
    void SetIntensity(int percent);
    int Intensity() const { return m_intensity; }
    void SetSelected(bool selected);
    bool IsSelected() const { return m_selected; }
    void SetText(const QString& text);
    QString Text() const { return m_text; }

    // The colour the cap shows: the key colour scaled by the intensity.
    QColor LitColor() const;

    // Tells every key that the widgets beneath it may show something else now (their look changed in
    // a pass that may also repaint the key for its colour): each takes its copy again when it next
    // paints.
    static void BackdropsMayHaveChanged();
    // Times this key copied what lies beneath it.
    int BackdropCaptures() const { return m_backdropCaptures; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // What does not depend on the light colour is drawn once per size, scale and state: the coverage
    // of the rim and of the light strip, the cap below the strip, the frame and legend above it. A
    // paint only blends the light colour into them (a preview repaints its lights many times a
    // second; filling three antialiased rounded shapes each time cost most of it).
    void BuildLayers(const QSize& pixels, qreal ratio);
    void DropLayers() {
        m_cap = QImage();
        m_prepared = false;
    }
    // Composes what does not depend on the light colour with what lies beneath into m_frame, and
    // lists the pixels the light reaches, from the layers and m_backdrop.
    void PrepareBase();
    // Repaints for a change of the key's own state: what lies beneath is unchanged.
    void Repaint();
    void DropBackdrop() { m_backdrop = QImage(); }
    // Draws what lies beneath the key in the window into m_backdrop.
    void CaptureBackdrop(const QSize& pixels, qreal ratio);

    QColor m_color{Qt::white};
    int m_intensity = 100;
    bool m_selected = false;
    bool m_hover = false;
    bool m_pressed = false;
    QString m_text;
    QImage m_rim;    // coverage of the rim (alpha of white)
    QImage m_strip;  // coverage of the light strip
    QImage m_cap;    // the cap, premultiplied; null: the layers must be drawn again
    QImage m_top;    // selection frame and legend
    QImage m_capTop;  // m_top over m_cap
    QImage m_frame;  // the composed key
    QImage m_backdrop;                  // the window beneath the key, premultiplied; null: copy it again
    // A pixel of m_frame that the light reaches, with what composes it.
    struct LitPixel {
        std::uint32_t offset = 0;  // in m_frame's pixels
        QRgb base = 0;             // m_capTop over m_backdrop
        QRgb beneath = 0;          // m_backdrop
        QRgb cap = 0;              // m_cap (under the strip)
        QRgb top = 0;              // m_top (under the strip)
        quint8 weight = 0;         // the rim's coverage that m_capTop lets through
        quint8 rim = 0;            // coverage of the rim
        quint8 strip = 0;          // coverage of the strip
    };
    std::vector<LitPixel> m_litPixels;
    bool m_prepared = false;  // m_frame holds what does not depend on the colour, m_litPixels is listed
    unsigned m_backdropGeneration = 0;  // s_backdropGeneration when m_backdrop was copied
    bool m_ownRepaint = false;          // a repaint for the key's own state is pending
    int m_backdropCaptures = 0;
};

}  // namespace zevik

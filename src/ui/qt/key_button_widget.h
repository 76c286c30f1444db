#pragma once
// A key cap of the keyboard and mouse pictures: the key's legend on a dark cap, lit from below in the
// key's colour at its intensity, with an accent frame while selected. A setter repaints the key only
// when its value changed (the lights' colours are set many times a second).

#include <QColor>
#include <QImage>
#include <QWidget>

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

private:
    // What does not depend on the light colour is drawn once per size, scale and state: the coverage
    // of the rim and of the light strip, the cap below the strip, the frame and legend above it. A
    // paint only blends the light colour into them (a preview repaints its lights many times a
    // second; filling three antialiased rounded shapes each time cost most of it).
    void BuildLayers(const QSize& pixels, qreal ratio);
    void DropLayers() { m_cap = QImage(); }

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
};

}  // namespace zevik

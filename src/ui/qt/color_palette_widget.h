#pragma once
// Colour picker of the lighting pages: a saturation/value field for the current hue above a hue bar.
// Pressing or dragging in either part picks a colour; the chosen colour is kept exactly as set or
// picked (no round trip through another colour model).

#include <QColor>
#include <QWidget>

namespace zevik {

class CColorPaletteWidget : public QWidget {
    Q_OBJECT
public:
    explicit CColorPaletteWidget(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor Color() const { return m_color; }

    // Height of the hue bar under the field, in pixels.
    static constexpr int kHueBarHeight = 12;
    static constexpr int kGap = 6;

signals:
    // The user picked a colour (not emitted by SetColor).
    void colorPicked(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Part { None, Field, HueBar };
    QRect FieldRect() const;
    QRect HueRect() const;
    void PickAt(const QPoint& pos);

    QColor m_color{Qt::red};
    int m_hue = 0;  // kept apart so a grey pick does not lose the hue the field shows
    Part m_dragging = Part::None;
};

}  // namespace zevik

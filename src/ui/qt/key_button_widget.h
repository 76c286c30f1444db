#pragma once
// A key cap of the keyboard and mouse pictures: the key's legend on a dark cap, lit from below in the
// key's colour at its intensity, with an accent frame while selected. A setter repaints the key only
// when its value changed (the lights' colours are set many times a second).

#include <QColor>
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

private:
    QColor m_color{Qt::white};
    int m_intensity = 100;
    bool m_selected = false;
    bool m_hover = false;
    bool m_pressed = false;
    QString m_text;
};

}  // namespace zevik

#pragma once
// What a key cap of the keyboard and mouse pictures shows: its colour at an intensity, its legend and
// whether it is selected. Keys that take input paint themselves (CKeyButtonWidget); lights, which take
// none, are painted together by a layer of their parent (CLightWidget). A setter reports a change only
// when the value changed: the lights' colours are set many times a second.

#include <QColor>
#include <QString>
#include <QWidget>

namespace zevik {

class CKeyCapWidget : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

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

protected:
    // The colour or intensity changed (lookChanged false), or the selection or legend (true).
    virtual void CapChanged(bool lookChanged) = 0;

private:
    QColor m_color{Qt::white};
    int m_intensity = 100;
    bool m_selected = false;
    QString m_text;
};

}  // namespace zevik

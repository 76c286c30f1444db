#pragma once
// A round progress gauge (battery level, download progress): an arc filled from twelve o'clock
// clockwise in proportion to the value, with the percentage or a caller's text in the middle.

#include <QWidget>

namespace zevik {

class CRingProgressWidget : public QWidget {
    Q_OBJECT
public:
    explicit CRingProgressWidget(QWidget* parent = nullptr);

    // A range with max <= min is stored as an empty range at min; the value is clamped into it.
    void SetRange(int minimum, int maximum);
    void SetValue(int value);
    int Value() const { return m_value; }
    int Minimum() const { return m_min; }
    int Maximum() const { return m_max; }
    // Text in the middle; empty shows the percentage.
    void SetText(const QString& text);
    // Share of the ring filled, 0..1 (0 for an empty range).
    double Fraction() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
    QString m_text;
};

}  // namespace zevik

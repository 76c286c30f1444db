#pragma once
// A bar graph of levels (equaliser bands, audio band levels): one bar per value, filled from the
// bottom in proportion to the value within the graph's range, with optional labels under the bars.

#include <QStringList>
#include <QWidget>
#include <vector>

namespace zevik {

class CBarGraphWidget : public QWidget {
    Q_OBJECT
public:
    explicit CBarGraphWidget(QWidget* parent = nullptr);

    // A range with max <= min is stored as an empty range at min (every bar then draws empty).
    void SetRange(double minimum, double maximum);
    void SetValues(std::vector<double> values);
    const std::vector<double>& Values() const { return m_values; }
    void SetLabels(const QStringList& labels);
    // Filled share of bar i, 0..1; values outside the range are clamped, a missing bar is 0.
    double BarFraction(std::size_t index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_min = 0.0;
    double m_max = 100.0;
    std::vector<double> m_values;
    QStringList m_labels;
};

}  // namespace zevik

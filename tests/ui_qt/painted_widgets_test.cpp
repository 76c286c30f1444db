#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "qt_test_app.h"
#include "ui/qt/bar_graph_widget.h"
#include "ui/qt/key_button_widget.h"
#include "ui/qt/ring_progress_widget.h"
#include "ui/qt/theme_colors.h"

namespace zevik {
namespace {

class PaintedWidgets : public ::testing::Test {
protected:
    void SetUp() override { test::QtTestApp(); }
};

QImage Render(QWidget& w) {
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    // Without the window background: only what the widget paints itself shows.
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

TEST_F(PaintedWidgets, KeyButtonClickOnlyWhenReleasedInside) {
    CKeyButtonWidget key;
    key.resize(40, 40);
    key.show();
    QSignalSpy spy(&key, &CKeyButtonWidget::clicked);
    QTest::mouseClick(&key, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(spy.count(), 1);
    // A press dragged off the key is a cancelled click.
    QTest::mousePress(&key, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(&key, Qt::LeftButton, {}, QPoint(80, 80));
    EXPECT_EQ(spy.count(), 1);
    QTest::mouseClick(&key, Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(PaintedWidgets, KeyButtonLightScalesWithClampedIntensity) {
    struct Case {
        int intensity;
        int expectedIntensity;
        QColor expected;
    };
    const Case cases[] = {
        {100, 100, QColor(200, 100, 50)}, {50, 50, QColor(100, 50, 25)}, {0, 0, QColor(0, 0, 0)},
        {250, 100, QColor(200, 100, 50)}, {-5, 0, QColor(0, 0, 0)},
    };
    for (const Case& c : cases) {
        CKeyButtonWidget key;
        key.SetColor(QColor(200, 100, 50));
        key.SetIntensity(c.intensity);
        EXPECT_EQ(key.Intensity(), c.expectedIntensity) << c.intensity;
        EXPECT_EQ(key.LitColor(), c.expected) << c.intensity;
    }
}

TEST_F(PaintedWidgets, KeyButtonShowsItsColourOnTheRim) {
    CKeyButtonWidget key;
    key.resize(40, 40);
    key.SetColor(QColor(0, 255, 0));
    const QImage lit = Render(key);
    // The rim pixel at the middle of the left edge carries the key colour; blue and red stay dark.
    const QColor rim = lit.pixelColor(2, 20);
    EXPECT_GT(rim.green(), 150);
    EXPECT_LT(rim.red(), 40);
    key.SetIntensity(0);
    const QColor off = Render(key).pixelColor(2, 20);
    EXPECT_LT(off.green(), 40);
}

TEST_F(PaintedWidgets, RingFractionUsesTheWholeRange) {
    struct Case {
        int min, max, value;
        double fraction;
    };
    const Case cases[] = {
        {0, 100, 50, 0.5},   {0, 100, 150, 1.0}, {0, 100, -3, 0.0},
        {50, 150, 100, 0.5},  // a range not starting at 0 fills by distance from its minimum
        {10, 10, 10, 0.0},    // an empty range never divides by zero
        {20, 5, 30, 0.0},     // an inverted range collapses to its minimum
    };
    for (const Case& c : cases) {
        CRingProgressWidget ring;
        ring.SetRange(c.min, c.max);
        ring.SetValue(c.value);
        EXPECT_DOUBLE_EQ(ring.Fraction(), c.fraction) << c.min << ".." << c.max << " @" << c.value;
    }
}

TEST_F(PaintedWidgets, RingFillsClockwiseFromTwelve) {
    CRingProgressWidget ring;
    ring.resize(100, 100);
    ring.SetText(QStringLiteral(" "));
    ring.SetValue(50);
    const QImage image = Render(ring);
    // Half filled: the right side (3 o'clock) is accent, the left side (9 o'clock) is the track.
    const QColor right = image.pixelColor(95, 50);
    const QColor left = image.pixelColor(4, 50);
    EXPECT_GT(right.red(), 150);
    EXPECT_LT(left.red(), 80);
}

TEST_F(PaintedWidgets, BarGraphFractionsClampToRange) {
    CBarGraphWidget graph;
    graph.SetRange(-12, 12);
    graph.SetValues({-12, 0, 12, 30, -40});
    EXPECT_DOUBLE_EQ(graph.BarFraction(0), 0.0);
    EXPECT_DOUBLE_EQ(graph.BarFraction(1), 0.5);
    EXPECT_DOUBLE_EQ(graph.BarFraction(2), 1.0);
    EXPECT_DOUBLE_EQ(graph.BarFraction(3), 1.0);
    EXPECT_DOUBLE_EQ(graph.BarFraction(4), 0.0);
    EXPECT_DOUBLE_EQ(graph.BarFraction(5), 0.0);
    graph.SetRange(3, 3);
    EXPECT_DOUBLE_EQ(graph.BarFraction(1), 0.0);
}

TEST_F(PaintedWidgets, BarGraphFillsFromTheBottom) {
    CBarGraphWidget graph;
    graph.resize(20, 100);
    graph.SetRange(0, 100);
    graph.SetValues({50});
    const QImage image = Render(graph);
    EXPECT_GT(image.pixelColor(10, 90).red(), 120);  // lower half: bar
    const QColor top = image.pixelColor(10, 10);     // upper half: track
    EXPECT_EQ(top, theme::Control());
}

}  // namespace
}  // namespace zevik

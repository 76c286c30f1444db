#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "qt_test_app.h"
#include "ui/qt/color_palette_widget.h"

namespace zevik {
namespace {

class ColorPalette : public test::QtFixture {
protected:
    void SetUp() override {
        m_palette.resize(200, 118);  // field 200x100, gap 6, hue bar 12
        m_palette.show();
    }
    CColorPaletteWidget m_palette;
};

TEST_F(ColorPalette, FieldPicksSaturationAndValueOfTheShownHue) {
    m_palette.SetColor(QColor(0, 0, 255));
    QSignalSpy spy(&m_palette, &CColorPaletteWidget::colorPicked);
    struct Case {
        QPoint at;
        int sat, val;
    };
    // (QTest treats a null point as the widget's centre, so the corner is probed at 1,1.)
    const Case cases[] = {{{199, 1}, 255, 252}, {{1, 1}, 1, 252}, {{199, 99}, 255, 0}, {{100, 50}, 128, 127}};
    for (const Case& c : cases) {
        QTest::mouseClick(&m_palette, Qt::LeftButton, {}, c.at);
        const QColor picked = m_palette.Color();
        EXPECT_NEAR(picked.hsvSaturation(), c.sat, 2) << c.at.x() << "," << c.at.y();
        EXPECT_NEAR(picked.value(), c.val, 2) << c.at.x() << "," << c.at.y();
    }
    ASSERT_EQ(spy.count(), 4);
    // White (no saturation) must not lose the blue hue for the next pick.
    QTest::mouseClick(&m_palette, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(&m_palette, Qt::LeftButton, {}, QPoint(199, 1));
    EXPECT_NEAR(m_palette.Color().hsvHue(), 240, 1);
    EXPECT_EQ(m_palette.Color().hsvSaturation(), 255);
}

TEST_F(ColorPalette, HueBarPicksAHueAndSetColorStaysSilent) {
    QSignalSpy spy(&m_palette, &CColorPaletteWidget::colorPicked);
    m_palette.SetColor(QColor(10, 10, 10));
    EXPECT_EQ(spy.count(), 0);
    QTest::mouseClick(&m_palette, Qt::LeftButton, {}, QPoint(66, 112));  // a third along: green
    ASSERT_EQ(spy.count(), 1);
    EXPECT_NEAR(m_palette.Color().hsvHue(), 120, 3);
    EXPECT_EQ(m_palette.Color().value(), 255);  // a hue picked from near-black shows in full
    const QColor exact(12, 34, 56);
    m_palette.SetColor(exact);
    EXPECT_EQ(m_palette.Color().rgb(), exact.rgb());
}

}  // namespace
}  // namespace zevik

namespace zevik {
namespace {

TEST_F(ColorPalette, ADisabledPaletteLooksDimmed) {
    m_palette.SetColor(QColor(255, 0, 0));
    const auto shown = [this] {
        QImage image(m_palette.size(), QImage::Format_ARGB32);
        image.fill(Qt::black);
        m_palette.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image.pixelColor(190, 5);  // the field near the pure hue
    };
    const QColor enabled = shown();
    m_palette.setEnabled(false);
    const QColor disabled = shown();
    EXPECT_GT(enabled.red(), 200);
    EXPECT_LT(disabled.red(), enabled.red() / 2) << "a palette that cannot be used looks like one that can";
}

}  // namespace
}  // namespace zevik

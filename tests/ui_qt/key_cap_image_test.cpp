#include "ui/qt/key_cap_image.h"

#include <gtest/gtest.h>

#include <QImage>

#include "qt_test_app.h"

namespace zevik {
namespace {

QImage Backdrop(QColor colour, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// A brighter light never darkens a pixel of the cap: a colour sum that passed 255 would carry into the
// next channel and show as a wrong, darker colour.
TEST(KeyCapImage, ABrighterLightNeverDarkensAPixelAndTheCapStaysOpaque) {
    test::QtTestApp();
    const QSize size(24, 24);
    for (const QColor beneath :
         {QColor(Qt::black), QColor(Qt::white), QColor(128, 128, 128), QColor(255, 0, 0)}) {
        for (const int intensity : {0, 40, 100}) {
            CKeyCapImage cap;
            KeyCapLook look;
            look.text = "A";
            look.selected = true;
            cap.SetLook(look);
            cap.SetBackdrop(Backdrop(beneath, size));
            const QImage dim = cap.Compose(QSizeF(size), 1.0, QColor(40, 40, 40), intensity).copy();
            const QImage bright = cap.Compose(QSizeF(size), 1.0, QColor(255, 255, 255), intensity).copy();
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    const QRgb d = dim.pixel(x, y);
                    const QRgb b = bright.pixel(x, y);
                    ASSERT_EQ(qAlpha(b), 255) << x << "," << y;
                    ASSERT_GE(qRed(b) + 1, qRed(d))
                        << beneath.name().toStdString() << " " << intensity << " at " << x << "," << y;
                    ASSERT_GE(qGreen(b) + 1, qGreen(d)) << x << "," << y;
                    ASSERT_GE(qBlue(b) + 1, qBlue(d)) << x << "," << y;
                }
            }
        }
    }
}

// The rim carries the light's colour over what lies beneath, at every intensity the same as a fresh
// image composes it (the part kept between frames follows an intensity change).
TEST(KeyCapImage, TheRimShowsTheLightAndFollowsItsIntensity) {
    test::QtTestApp();
    const QSize size(40, 40);
    CKeyCapImage reused;
    reused.SetBackdrop(Backdrop(QColor(20, 20, 20), size));
    for (const int intensity : {100, 30, 0, 100}) {
        CKeyCapImage fresh;
        fresh.SetBackdrop(Backdrop(QColor(20, 20, 20), size));
        const QColor green(0, 255 * intensity / 100, 0);
        const QImage expected = fresh.Compose(QSizeF(size), 1.0, green, intensity).copy();
        const QImage shown = reused.Compose(QSizeF(size), 1.0, green, intensity).copy();
        EXPECT_EQ(shown, expected) << intensity;
        const QColor rim = shown.pixelColor(2, 20);  // the middle of the left edge
        if (intensity == 100) {
            EXPECT_GT(rim.green(), 150);
            EXPECT_LT(rim.red(), 40);
        } else if (intensity == 0) {
            EXPECT_LT(rim.green(), 40);
        }
    }
}

}  // namespace
}  // namespace zevik

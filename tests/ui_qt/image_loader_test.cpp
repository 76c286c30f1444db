#include "ui/qt/image_loader.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "qt_test_app.h"

namespace zevik {
namespace {

class ImageLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::QtTestApp();
        m_dir = std::filesystem::temp_directory_path() /
                ("zevik_img_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(m_dir / "skin" / "power");
        QImage strip(40, 20, QImage::Format_RGB32);
        strip.fill(Qt::red);
        for (int y = 0; y < 20; ++y) {
            for (int x = 20; x < 40; ++x) {
                strip.setPixelColor(x, y, Qt::blue);
            }
        }
        ASSERT_TRUE(strip.save(QString::fromStdString((m_dir / "skin" / "power" / "strip.png").string())));
        ASSERT_TRUE(strip.save(QString::fromStdString((m_dir / "outside.png").string())));
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::filesystem::path m_dir;
};

TEST_F(ImageLoaderTest, CutsTheSourceRectangleFromFilesInTheSkinFolder) {
    CImageLoader loader(m_dir / "skin");
    const QPixmap whole = loader.Load("file='power/strip.png'");
    EXPECT_EQ(whole.size(), QSize(40, 20));
    const QPixmap right = loader.Load("file='power\\strip.png' source='20,0,40,20'");
    ASSERT_EQ(right.size(), QSize(20, 20));
    EXPECT_EQ(right.toImage().pixelColor(5, 5), QColor(Qt::blue));
}

TEST_F(ImageLoaderTest, RefusesWhatItCannotShowSafely) {
    CImageLoader loader(m_dir / "skin");
    EXPECT_TRUE(loader.Load("file='missing.png'").isNull());
    EXPECT_TRUE(loader.Load("file='../outside.png'").isNull());
    EXPECT_TRUE(loader.Load(("file='" + (m_dir / "outside.png").string() + "'").c_str()).isNull());
    EXPECT_TRUE(loader.Load("file='power/strip.png' source='30,0,60,20'").isNull());  // beyond the file
    EXPECT_TRUE(loader.Load("file='power/strip.png' source='0,0,0,0'").isNull());
    EXPECT_TRUE(loader.Load("").isNull());
    EXPECT_TRUE(loader.Load("file='power/strip.png' source='0,0,20'").isNull());  // malformed source
}

// A fade draws the image at that opacity ("res" names the file as "file" does); the same faded image
// is handed out again without being made anew.
TEST_F(ImageLoaderTest, AFadeDrawsTheImageAtThatOpacity) {
    CImageLoader loader(m_dir / "skin");
    const QPixmap faded = loader.Load("res='power/strip.png' fade='80'");
    ASSERT_EQ(faded.size(), QSize(40, 20));
    const QColor red = faded.toImage().pixelColor(5, 5);
    EXPECT_NEAR(red.alpha(), 80, 2);
    EXPECT_EQ(red.red(), 255);
    EXPECT_EQ(faded.cacheKey(), loader.Load("res='power/strip.png' fade='80'").cacheKey());
    EXPECT_EQ(loader.Load("res='power/strip.png' fade='255'").toImage().pixelColor(5, 5).alpha(), 255);
    const QPixmap cut = loader.Load("file='power/strip.png' source='20,0,40,20' fade='128'");
    ASSERT_EQ(cut.size(), QSize(20, 20));
    EXPECT_EQ(cut.toImage().pixelColor(5, 5).blue(), 255) << "cut first, then faded";
    EXPECT_NEAR(cut.toImage().pixelColor(5, 5).alpha(), 128, 2);
}

}  // namespace
}  // namespace zevik

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "qt_test_app.h"
#include "ui/qt/font_loader.h"
#include "ui/qt/frameless_window.h"

namespace zevik {
namespace {

class WindowPieces : public ::testing::Test {
protected:
    void SetUp() override { test::QtTestApp(); }
};

TEST_F(WindowPieces, FontLoaderSkipsMissingFilesAndReportsFamilies) {
    CFontLoader fonts;
    const int loaded = fonts.Load(ZEVIK_RESOURCE_DIR "/Font",
                                  {"missing.ttf", "DejaVuSansCondensed.ttf", "../nothing/here.otf"});
    EXPECT_EQ(loaded, 1);
    ASSERT_FALSE(fonts.Families().isEmpty());
    EXPECT_TRUE(fonts.Families().contains(QStringLiteral("DejaVu Sans")));
}

TEST_F(WindowPieces, FontLoaderFolderTakesFontFilesOnly) {
    CFontLoader fonts;
    EXPECT_EQ(fonts.LoadFolder(ZEVIK_RESOURCE_DIR "/Font"), 2);  // the licence text is not a font
    CFontLoader none;
    EXPECT_EQ(none.LoadFolder("/nonexistent/folder"), 0);
    EXPECT_TRUE(none.Families().isEmpty());
}

TEST_F(WindowPieces, SkinFaceNamesBecomeFamilyAndStyle) {
    CFontLoader fonts;
    ASSERT_EQ(fonts.LoadFolder(ZEVIK_RESOURCE_DIR "/Font"), 2);
    // The condensed file's family is "DejaVu Sans", its style "Condensed" (or a family of that full
    // name, where the font database lists one): either way the condensed face is the one drawn.
    QFont font;
    SetFontFace(font, QStringLiteral("DejaVu Sans Condensed"));
    const QFontInfo drawn(font);
    EXPECT_TRUE(drawn.family().contains(QStringLiteral("Condensed")) ||
                drawn.styleName().contains(QStringLiteral("Condensed")))
        << drawn.family().toStdString() << " / " << drawn.styleName().toStdString();
    EXPECT_TRUE(drawn.family().startsWith(QStringLiteral("DejaVu Sans"))) << drawn.family().toStdString();

    QFont unknown;
    SetFontFace(unknown, QStringLiteral("NoSuchFace Regular"));
    EXPECT_EQ(unknown.family(), QStringLiteral("NoSuchFace Regular")) << "left to Qt's substitution";
    EXPECT_TRUE(unknown.styleName().isEmpty());
}

TEST_F(WindowPieces, FramelessWindowMovesOnlyByItsCaption) {
    CFramelessWindow window;
    window.resize(300, 200);
    window.SetCaption(QMargins(0, 0, 0, 40));  // full width, 40 pixels high
    window.move(100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.CaptionRect(), QRect(0, 0, 300, 40));

    const QPoint start = window.pos();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(150, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(180, 45), window.mapToGlobal(QPointF(180, 45)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(180, 45));
    EXPECT_EQ(window.pos(), start + QPoint(30, 25));

    // A press below the caption does not drag.
    const QPoint after = window.pos();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(150, 120));
    QMouseEvent move2(QEvent::MouseMove, QPointF(190, 160), window.mapToGlobal(QPointF(190, 160)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move2);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(190, 160));
    EXPECT_EQ(window.pos(), after);
}

TEST_F(WindowPieces, FramelessWindowLeavesClosingToItsOwner) {
    CFramelessWindow window;
    window.show();
    QSignalSpy spy(&window, &CFramelessWindow::closeRequested);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace zevik

// Runs on a real X server only (CTest starts it under xvfb-run with the xcb platform): a window that
// another one covers whole is no longer seen, and is seen again when that one goes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "qt_test_app.h"
#include "ui/qt/frameless_window.h"

namespace zevik {
namespace {

bool PumpUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

TEST(X11Covered, AWindowCoveredWholeIsNotSeenUntilUncovered) {
    test::QtTestApp();
    if (QGuiApplication::platformName() != "xcb") {
        GTEST_SKIP() << "needs an X server";
    }
    CFramelessWindow window;
    window.setGeometry(100, 100, 300, 200);
    window.show();
    ASSERT_TRUE(PumpUntil([&] { return window.IsSeen(); })) << "the window never showed";

    QWidget cover(nullptr, Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
    cover.setGeometry(QGuiApplication::primaryScreen()->geometry());
    cover.show();
    EXPECT_TRUE(PumpUntil([&] { return !window.IsSeen(); })) << "a covered window still counts as seen";

    cover.hide();
    EXPECT_TRUE(PumpUntil([&] { return window.IsSeen(); })) << "the window stays unseen once uncovered";
}

}  // namespace
}  // namespace zevik

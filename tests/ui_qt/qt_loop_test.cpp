#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "ui/qt/qt_tray_host.h"
#include "ui_window_fixture.h"

namespace zevik {
namespace {

using namespace std::chrono_literals;

class QtLoop : public test::QtFixture {
protected:
    CQtMessageLoop m_loop;
};

TEST_F(QtLoop, SendFromAWorkerWaitsUntilTheUiThreadRanIt) {
    const auto uiThread = std::this_thread::get_id();
    std::atomic<bool> handled{false};
    std::atomic<bool> workerDone{false};
    std::optional<LRESULT> result;
    bool handledBeforeReturn = false;
    std::thread worker([&] {
        result = m_loop.SendTask([&]() -> LRESULT {
            EXPECT_EQ(std::this_thread::get_id(), uiThread);
            std::this_thread::sleep_for(20ms);  // the worker must still be waiting meanwhile
            handled = true;
            return 42;
        });
        handledBeforeReturn = handled.load();
        workerDone = true;
        m_loop.PostTask([] {});  // wakes the UI thread to see the flag
    });
    EXPECT_TRUE(m_loop.RunUntil([&] { return workerDone.load(); }));
    worker.join();
    EXPECT_EQ(result, std::optional<LRESULT>(42));
    EXPECT_TRUE(handledBeforeReturn);

    // From the UI thread itself a Send runs at once instead of waiting for itself.
    EXPECT_EQ(m_loop.SendTask([] { return LRESULT{7}; }), std::optional<LRESULT>(7));
}

TEST_F(QtLoop, ShutdownReleasesAWaitingWorker) {
    std::atomic<bool> started{false};
    std::optional<LRESULT> result = 1;
    std::thread worker([&] {
        started = true;
        result = m_loop.SendTask([] { return LRESULT{5}; });
    });
    while (!started) {
        std::this_thread::sleep_for(1ms);
    }
    std::this_thread::sleep_for(10ms);  // the worker now waits for a UI thread that does not come
    m_loop.BeginShutdown();
    worker.join();
    EXPECT_FALSE(result.has_value());
    const auto before = std::chrono::steady_clock::now();
    std::optional<LRESULT> late = 1;
    std::thread([&] { late = m_loop.SendTask([] { return LRESULT{6}; }); }).join();
    EXPECT_FALSE(late.has_value());
    EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
}

TEST_F(QtLoop, PostsRunInOrderAndTimersKeepTheSystemTick) {
    std::vector<int> order;
    for (int i = 0; i < 3; ++i) {
        m_loop.PostTask([&order, i] { order.push_back(i); });
    }
    EXPECT_TRUE(m_loop.RunUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));

    // A 10 ms timer fires once per 15.625 ms tick, on the UI thread.
    int fired = 0;
    std::vector<CMessageLoop::Duration> at;
    const auto uiThread = std::this_thread::get_id();
    const auto set = m_loop.Now();
    ASSERT_TRUE(m_loop.SetTimer(this, 1, 10, [&] {
        EXPECT_EQ(std::this_thread::get_id(), uiThread);
        at.push_back(m_loop.Now());
        ++fired;
    }));
    EXPECT_TRUE(m_loop.RunUntil([&] { return fired == 4; }));
    m_loop.KillTimer(this, 1);
    ASSERT_EQ(at.size(), 4u);
    // Due times are counted from the setting (a late tick does not shift the ones after it).
    EXPECT_GE(at[0] - set, CMessageLoop::kTimerTick);
    EXPECT_GE(at[3] - set, 4 * CMessageLoop::kTimerTick);

    // PostQuit ends the running loop with its code.
    QTimer::singleShot(0, [&] { m_loop.PostQuit(3); });
    EXPECT_EQ(m_loop.Run(), 3);
}

TEST_F(QtLoop, TimersRestartedByAHandlerKeepFiringAlsoInANestedLoop) {
    // A handler that kills and restarts its own timer (as the device option's timers do) and one that
    // runs a nested loop (a modal window) while its timer is firing: both go on firing.
    int restarted = 0;
    std::function<void()> restart = [&] {
        m_loop.KillTimer(this, 1);
        ++restarted;
        m_loop.SetTimer(this, 1, 10, restart);
    };
    ASSERT_TRUE(m_loop.SetTimer(this, 1, 10, restart));
    bool nestedDone = false;
    int innerFired = 0;
    ASSERT_TRUE(m_loop.SetTimer(this, 2, 10, [&] {
        m_loop.KillTimer(this, 2);
        m_loop.SetTimer(this, 3, 20, [&] { ++innerFired; });
        const auto limit = std::chrono::steady_clock::now() + 5s;  // only against a hang
        nestedDone =
            m_loop.RunUntil([&] { return innerFired >= 2 || std::chrono::steady_clock::now() > limit; });
        m_loop.KillTimer(this, 3);
    }));
    const auto limit = std::chrono::steady_clock::now() + 5s;  // only against a hang
    m_loop.RunUntil(
        [&] { return (nestedDone && restarted >= 6) || std::chrono::steady_clock::now() > limit; });
    m_loop.KillTimers(this);
    EXPECT_GE(innerFired, 2) << "the nested loop fired the timer set inside the firing handler";
    EXPECT_GE(restarted, 6) << "the self-restarting timer kept firing";
}

class QtWindows : public test::UiWindowFixture {};

const char* kDialogSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="200,120" caption="0,0,0,30">
  <VerticalLayout name="root" bkcolor="#FF202020">
    <Label name="title" text="Dialog" height="30"/>
    <Button name="ok" text="OK" height="30"/>
  </VerticalLayout>
</Window>)";

TEST_F(QtWindows, ShowModalReturnsTheCodeGivenToClose) {
    auto& dialog = Open(kDialogSkin);
    dialog.onNotify = [&dialog](TNotifyUI& msg) {
        if (msg.sType == "click" && msg.pSender->GetName() == "ok") {
            dialog.Close(7);
        }
    };
    dialog.ShowWindow(false);
    QTimer::singleShot(10, [this] { QTest::mouseClick(&Get<QPushButton>("ok"), Qt::LeftButton); });
    EXPECT_EQ(dialog.ShowModal(), 7u);
    EXPECT_EQ(dialog.GetHWND(), 0u);
}

TEST_F(QtWindows, CaptionDragMovesTheWindowAndTheCoreFollows) {
    auto& window = Open(kDialogSkin);
    const UiRect before = window.GetWindowRect();
    QWidget* title = Renderer().WidgetFor(Control("title"));
    ASSERT_NE(title, nullptr);
    // The label lets the press through to the window, whose caption area it lies in.
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(50, 10));
    const QPointF to(90, 40);
    QMouseEvent move(QEvent::MouseMove, title->mapTo(Host().Widget(), to), title->mapToGlobal(to),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Host().Widget(), &move);
    QTest::mouseRelease(Host().Widget(), Qt::LeftButton, {}, title->mapTo(Host().Widget(), QPoint(90, 40)));
    Pump();
    const UiRect after = window.GetWindowRect();
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_EQ(after.GetWidth(), before.GetWidth());

    // A press on the button in the same window does not drag.
    QTest::mouseClick(&Get<QPushButton>("ok"), Qt::LeftButton);
    EXPECT_EQ(window.GetWindowRect(), after);
}

TEST_F(QtWindows, SystemCloseRequestGoesThroughTheCore) {
    auto& window = Open(kDialogSkin);
    EXPECT_FALSE(Host().Widget()->close());  // the widget does not close itself
    Pump();
    EXPECT_EQ(window.GetHWND(), 0u);  // the core's default: SC_CLOSE closes the window
}

TEST_F(QtWindows, WindowObjectDestroyedWhileOpenTakesItsWidgetsAlong) {
    Open(kDialogSkin);
    QPointer<QWidget> frame = Host().Widget();
    QPointer<QWidget> button = Renderer().WidgetFor(Control("ok"));
    ASSERT_FALSE(button.isNull());
    m_window.reset();  // no DestroyWindow first: the manager goes before the host
    Pump();
    EXPECT_TRUE(button.isNull());
    EXPECT_TRUE(frame.isNull());
}

TEST_F(QtWindows, WindowInitReachesNotifyOnce) {
    auto& window = Open(kDialogSkin);
    const auto inits = window.Of("windowinit");
    ASSERT_EQ(inits.size(), 1u);
    EXPECT_EQ(inits[0].sender, "root");
}

TEST_F(QtWindows, PopupMenuCommandsComeBackToTheWindow) {
    auto& window = Open(kDialogSkin);
    WriteFile("menu.xml", R"(<Menu>
      <MenuElement name="open" text="Open"/>
      <MenuElement name="off" text="Disabled" enabled="false"/>
      <MenuElement name="more" text="More"><MenuElement name="deep" text="Deep"/></MenuElement>
    </Menu>)");
    CMenuWnd menu;
    ASSERT_TRUE(menu.Init(nullptr, "menu.xml", UiPoint{120, 130}, window.GetPaintManager()))
        << menu.GetLastError();
    Pump();
    QMenu* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* m = qobject_cast<QMenu*>(w); m != nullptr && m->isVisible()) {
            shown = m;
        }
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->pos(), QPoint(120, 130));
    QAction* open = shown->findChild<QAction*>("open");
    QAction* off = shown->findChild<QAction*>("off");
    ASSERT_NE(open, nullptr);
    ASSERT_NE(off, nullptr);
    EXPECT_FALSE(off->isEnabled());
    EXPECT_NE(shown->findChild<QAction*>("deep"), nullptr);
    open->trigger();
    Pump();
    EXPECT_EQ(window.menuCommands, (std::vector<std::string>{"open"}));
    EXPECT_FALSE(menu.IsShown());
}

TEST_F(QtWindows, TrayIconClicksComeBackToTheOwnerWindow) {
    auto& window = Open(kDialogSkin);
    constexpr UINT kTrayMessage = WM_USER + 200;
    {
        CTrayIcon tray;
        tray.CreateTrayIcon(window.GetHWND(), 107, "ZEVIK", kTrayMessage);
        CQtTrayHost* host = m_backend.HostOf(tray);
        ASSERT_NE(host, nullptr);
        EXPECT_EQ(host->Icon().toolTip(), QStringLiteral("ZEVIK"));
        ASSERT_TRUE(tray.SetTooltipText("ZEVIK R300"));
        EXPECT_EQ(host->Icon().toolTip(), QStringLiteral("ZEVIK R300"));
        emit host->Icon().activated(QSystemTrayIcon::Context);
        emit host->Icon().activated(QSystemTrayIcon::DoubleClick);
        Pump();
        EXPECT_EQ(window.customMessages,
                  (std::vector<std::pair<UINT, LPARAM>>{{kTrayMessage, WM_RBUTTONUP},
                                                        {kTrayMessage, WM_LBUTTONDBLCLK}}));
        tray.DeleteTrayIcon();
        EXPECT_EQ(m_backend.HostOf(tray), nullptr);
    }
}

TEST(QtTray, ActivationsMapToTheMouseMessages) {
    struct Case {
        QSystemTrayIcon::ActivationReason reason;
        UINT message;
    };
    const Case cases[] = {{QSystemTrayIcon::Trigger, WM_LBUTTONUP},
                          {QSystemTrayIcon::DoubleClick, WM_LBUTTONDBLCLK},
                          {QSystemTrayIcon::Context, WM_RBUTTONUP},
                          {QSystemTrayIcon::MiddleClick, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(CQtTrayHost::MouseMessageFor(c.reason), c.message) << c.reason;
    }
}

}  // namespace
}  // namespace zevik

// The message loop: timers on the virtual clock, Send/Post between threads, shutdown, registered
// messages.

#include <atomic>
#include <chrono>
#include <future>
#include <set>
#include <thread>

#include "ui/plain_message_loop.h"
#include "ui/registered_messages.h"
#include "ui/window_messages.h"
#include "ui/window_wnd.h"

#include <gtest/gtest.h>

namespace zevik {
namespace {

using namespace std::chrono_literals;
using Us = std::chrono::microseconds;

TEST(TimerPeriod, RoundsUpToWholeSystemTicks) {
    struct Case {
        UINT ms;
        long long wantUs;
    };
    const Case cases[] = {{0, 15625},   {1, 15625},   {10, 15625},  {15, 15625},  {16, 31250},
                          {50, 62500},  {100, 109375}, {400, 406250}, {500, 500000}, {5000, 5000000}};
    for (const Case& c : cases) EXPECT_EQ(CMessageLoop::RoundTimerPeriod(c.ms).count(), c.wantUs) << c.ms;
}

TEST(VirtualClock, TimersFireInDueOrderAtTheirDueTimes) {
    CPlainMessageLoop loop;
    std::vector<std::pair<int, long long>> fired;  // (timer, time in us)
    int a = 0, b = 0, c = 0;
    loop.SetTimer(&a, 1, 50, [&] { fired.emplace_back(1, loop.Now().count()); });
    loop.SetTimer(&b, 1, 10, [&] { fired.emplace_back(2, loop.Now().count()); });
    loop.SetTimer(&c, 7, 50, [&] { fired.emplace_back(3, loop.Now().count()); });
    loop.AdvanceBy(Us(62500));
    // Three ticks of the 10 ms timer alone; at 62.5 ms all three are due and fire in the order
    // they were set.
    std::vector<std::pair<int, long long>> want{{2, 15625}, {2, 31250}, {2, 46875}, {1, 62500}, {2, 62500}, {3, 62500}};
    EXPECT_EQ(fired, want);
}

TEST(VirtualClock, ALongTimerFiresWithoutRealWaiting) {
    CPlainMessageLoop loop;
    int owner = 0;
    int count = 0;
    loop.SetTimer(&owner, 1066, 5000, [&] { ++count; });
    auto start = std::chrono::steady_clock::now();
    loop.AdvanceBy(4999ms);
    EXPECT_EQ(count, 0);
    loop.AdvanceBy(1ms);
    EXPECT_EQ(count, 1);
    loop.AdvanceBy(10000ms);
    EXPECT_EQ(count, 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST(VirtualClock, KillAndRestartFromInsideTheCallback) {
    CPlainMessageLoop loop;
    int owner = 0;
    std::vector<long long> fired;
    // The program's one-shot pattern: the handler kills its own timer.
    loop.SetTimer(&owner, 1055, 400, [&] {
        fired.push_back(loop.Now().count());
        loop.KillTimer(&owner, 1055);
    });
    loop.AdvanceBy(2000ms);
    EXPECT_EQ(fired, (std::vector<long long>{406250}));
    EXPECT_FALSE(loop.HasTimer(&owner, 1055));

    // A timer that restarts itself with another period.
    fired.clear();
    loop.SetTimer(&owner, 1000, 10, [&] {
        fired.push_back(loop.Now().count());
        loop.SetTimer(&owner, 1000, 50, [&] { fired.push_back(loop.Now().count()); });
    });
    long long base = loop.Now().count();
    loop.AdvanceBy(Us(15625 + 62500 * 2));
    EXPECT_EQ(fired, (std::vector<long long>{base + 15625, base + 78125, base + 140625}));
}

TEST(VirtualClock, KillTimersOfOneOwnerOnly) {
    CPlainMessageLoop loop;
    int first = 0, second = 0;
    int hits = 0;
    loop.SetTimer(&first, 1, 10, [&] { ++hits; });
    loop.SetTimer(&first, 2, 10, [&] { ++hits; });
    loop.SetTimer(&second, 1, 10, [&] { hits += 100; });
    loop.KillTimers(&first);
    loop.AdvanceBy(16ms);
    EXPECT_EQ(hits, 100);
}

// A window that records the messages it gets and the thread they arrive on.
class RecordingWindow : public CWindowWnd {
public:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg >= WM_USER) {
            threads.push_back(std::this_thread::get_id());
            messages.push_back(msg);
            if (onMessage) onMessage(msg);
            return static_cast<LRESULT>(wParam) + lParam;
        }
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
    std::vector<std::thread::id> threads;
    std::vector<UINT> messages;
    std::function<void(UINT)> onMessage;
};

TEST(Send, FromAWorkerWaitsUntilTheUiThreadHandledIt) {
    CPlainMessageLoop loop;
    RecordingWindow window;
    ASSERT_NE(window.Create(0, "w", 0, 0), 0u);
    HWND hwnd = window.GetHWND();

    std::atomic<bool> returned{false};
    std::future<std::optional<LRESULT>> result = std::async(std::launch::async, [&] {
        auto r = loop.Send(hwnd, WM_USER + 2066, 40, 2);
        returned = true;
        return r;
    });
    // The worker stays blocked while the UI thread does not dispatch.
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(returned.load());
    EXPECT_TRUE(window.messages.empty());

    while (!returned.load()) loop.ProcessPendingWait(10ms);
    EXPECT_EQ(result.get(), std::optional<LRESULT>(42));
    ASSERT_EQ(window.threads.size(), 1u);
    EXPECT_EQ(window.threads[0], std::this_thread::get_id());
}

TEST(Send, FromTheUiThreadRunsAtOnce) {
    CPlainMessageLoop loop;
    RecordingWindow window;
    window.Create(0, "w", 0, 0);
    // Re-entrant: a handler that sends to its own window again does not wait for itself.
    window.onMessage = [&](UINT msg) {
        if (msg == WM_USER + 1) window.SendMessage(WM_USER + 2);
    };
    EXPECT_EQ(loop.Send(window.GetHWND(), WM_USER + 1, 1, 1), std::optional<LRESULT>(2));
    EXPECT_EQ(window.messages, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(loop.Send(window.GetHWND() + 1000, WM_USER, 0, 0), std::nullopt);
}

TEST(Send, IsHandledBeforeQueuedPosts) {
    CPlainMessageLoop loop;
    RecordingWindow window;
    window.Create(0, "w", 0, 0);
    HWND hwnd = window.GetHWND();
    ASSERT_TRUE(window.PostMessage(WM_USER + 10));
    ASSERT_TRUE(window.PostMessage(WM_USER + 11));
    std::thread worker([&] { loop.Send(hwnd, WM_USER + 20, 0, 0); });
    // The Send arrives behind the two posts; one dispatch pass handles it first.
    while (loop.PendingSendCount() == 0) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(loop.ProcessPending(), 3u);
    worker.join();
    EXPECT_EQ(window.messages, (std::vector<UINT>{WM_USER + 20, WM_USER + 10, WM_USER + 11}));
}

TEST(Send, RefusedOnceShutdownHasBegun) {
    CPlainMessageLoop loop;
    RecordingWindow window;
    window.Create(0, "w", 0, 0);
    HWND hwnd = window.GetHWND();

    // A worker already waiting is released with a failure, without the UI thread dispatching.
    std::future<std::optional<LRESULT>> waiting =
        std::async(std::launch::async, [&] { return loop.Send(hwnd, WM_USER + 1, 0, 0); });
    while (loop.PendingSendCount() == 0) std::this_thread::sleep_for(1ms);
    loop.BeginShutdown();
    ASSERT_EQ(waiting.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(waiting.get(), std::nullopt);

    // A new Send from a worker fails at once.
    auto start = std::chrono::steady_clock::now();
    auto late = std::async(std::launch::async, [&] { return loop.Send(hwnd, WM_USER + 2, 0, 0); }).get();
    EXPECT_EQ(late, std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_TRUE(window.messages.empty());
    // The UI thread itself still reaches its windows.
    EXPECT_EQ(window.SendMessage(WM_USER + 3, 1, 2), 3);
}

TEST(Send, WithATimeoutIsWithdrawnWhenTheUiThreadIsBusy) {
    CPlainMessageLoop loop;
    RecordingWindow window;
    window.Create(0, "w", 0, 0);
    HWND hwnd = window.GetHWND();
    auto result = std::async(std::launch::async, [&] { return loop.SendTimeout(hwnd, WM_USER + 5, 0, 0, 30ms); });
    EXPECT_EQ(result.get(), std::nullopt);
    EXPECT_EQ(loop.ProcessPending(), 0u) << "the withdrawn message never runs";
    EXPECT_TRUE(window.messages.empty());

    auto served = std::async(std::launch::async, [&] { return loop.SendTimeout(hwnd, WM_USER + 6, 1, 1, 5s); });
    while (loop.PendingSendCount() == 0) std::this_thread::sleep_for(1ms);
    loop.ProcessPending();
    EXPECT_EQ(served.get(), std::optional<LRESULT>(2));
}

TEST(Post, ToAWindowThatIsGoneIsDropped) {
    CPlainMessageLoop loop;
    auto window = std::make_unique<RecordingWindow>();
    window->Create(0, "w", 0, 0);
    HWND hwnd = window->GetHWND();
    EXPECT_TRUE(loop.Post(hwnd, WM_USER, 0, 0));
    window->DestroyWindow();
    window.reset();
    EXPECT_EQ(loop.ProcessPending(), 1u);  // handled by dropping it
    EXPECT_FALSE(loop.Post(hwnd, WM_USER, 0, 0));
}

TEST(Post, TimersSetFromAWorkerFireOnTheUiThread) {
    CPlainMessageLoop loop;
    int owner = 0;
    std::thread::id firedOn;
    std::thread([&] { loop.SetTimer(&owner, 1002, 500, [&] { firedOn = std::this_thread::get_id(); }); }).join();
    loop.AdvanceBy(500ms);
    EXPECT_EQ(firedOn, std::this_thread::get_id());
}

TEST(Run, EndsOnQuitAndRunsTimersMeanwhile) {
    CPlainMessageLoop loop;
    int owner = 0;
    int ticks = 0;
    loop.SetTimer(&owner, 1, 100, [&] {
        if (++ticks == 3) loop.PostQuit(7);
    });
    EXPECT_EQ(loop.Run(), 7);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(loop.Now().count(), 3 * 109375);
}

TEST(RealClock, TimersFireOnTimeAndQuitEndsTheRun) {
    CPlainMessageLoop loop(CPlainMessageLoop::ClockMode::Real);
    EXPECT_FALSE(loop.AdvanceBy(Us(1000))) << "only the virtual clock can be advanced";
    int owner = 0;
    std::vector<long long> at;
    loop.SetTimer(&owner, 1, 20, [&] {
        at.push_back(loop.Now().count());
        if (at.size() == 3) loop.PostQuit(0);
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(loop.Run(), 0);
    auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(at.size(), 3u);
    EXPECT_GE(at[0], 31250) << "never before the due time";
    EXPECT_GE(took, 90ms);
    EXPECT_LT(took, 5s);
}

TEST(RegisteredMessages, SameNameSameIdFromTheRegisteredRange) {
    UINT a = RegisterWindowMessage("ZEVIK-R300Prime");
    UINT b = RegisterWindowMessage("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}");
    EXPECT_GE(a, kFirstRegisteredMessage);
    EXPECT_GE(b, kFirstRegisteredMessage);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage("ZEVIK-R300Prime"), a);
    EXPECT_EQ(GetRegisteredMessageName(b), "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}");
    EXPECT_EQ(RegisterWindowMessage(""), 0u);

    // From many threads at once, one id per name.
    std::vector<std::thread> threads;
    std::vector<UINT> ids(8);
    for (size_t i = 0; i < ids.size(); ++i) {
        threads.emplace_back([&ids, i] { ids[i] = RegisterWindowMessage("Game_Start"); });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(std::set<UINT>(ids.begin(), ids.end()).size(), 1u);
}

}  // namespace
}  // namespace zevik

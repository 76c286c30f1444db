#pragma once
// CMessageLoop: the UI thread's message loop, in the message model the program is written against.
// The queueing, Send/Post, window handles and control timers live here once; an implementation (the
// plain loop with its virtual clock, or the Qt loop) supplies the clock, the wake-up and the running.
//
// Contracts:
// - The thread that constructs the loop is the UI thread; the loop becomes the process's loop
//   (Current()) until it is destroyed.
// - Send from another thread queues the call and waits until the UI thread has run it, then returns
//   its result (SendTimeout bounds the wait for the UI thread to take the call). Send from the UI thread runs the call at once (no queueing, no deadlock).
// - Post queues the call and returns at once.
// - Sends are handled before queued posts, also inside nested loops (modal windows).
// - After BeginShutdown, Send from another thread fails at once (std::nullopt), and Sends that were
//   waiting are released with a failure; this way a UI thread that waits for a worker cannot be
//   waited for by that worker. Posts are still queued.
// - A message to a window that no longer exists is dropped (Send returns std::nullopt).
// - Timers: periods are rounded up to a whole number of system ticks (15.625 ms, at least one tick);
//   a timer fires on the UI thread, repeatedly, until killed. Setting an existing (owner, id) timer
//   again restarts it with the new period. Timers may be set and killed from any thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "ui/ui_types.h"

namespace zevik {

class CWindowWnd;

class CMessageLoop {
public:
    using Duration = std::chrono::microseconds;  // loop time, counted from the loop's start
    using TimerCallback = std::function<void()>;
    static constexpr Duration kTimerTick{15625};  // the system tick the program's timings assume

    CMessageLoop();
    virtual ~CMessageLoop();
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    // The process's loop, nullptr when none exists.
    static CMessageLoop* Current();

    bool IsUiThread() const { return std::this_thread::get_id() == m_uiThread; }

    // ---- any thread ----
    std::optional<LRESULT> Send(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Send that gives up when the UI thread has not started handling the message within timeout (the
    // message is then withdrawn and std::nullopt returned). Once handling started it waits for the end.
    std::optional<LRESULT> SendTimeout(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       std::chrono::milliseconds timeout);
    // False when the window does not exist.
    bool Post(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The same for a call not addressed to a window.
    std::optional<LRESULT> SendTask(std::function<LRESULT()> task);
    bool PostTask(std::function<void()> task);
    void BeginShutdown();
    bool IsShuttingDown() const;

    // ---- UI thread ----
    // Ends Run() and every nested RunUntil() (the WM_QUIT of the message model).
    void PostQuit(int exitCode);
    bool IsQuitRequested() const;
    int GetExitCode() const;
    // Runs until PostQuit; returns the exit code.
    virtual int Run() = 0;
    // Runs a nested loop until done() is true (true) or quit was requested (false).
    virtual bool RunUntil(const std::function<bool()>& done) = 0;

    // Window handles. Register/unregister on the UI thread.
    HWND RegisterWindow(CWindowWnd& wnd);
    void UnregisterWindow(HWND wnd);
    CWindowWnd* FromHandle(HWND wnd) const;

    // Timers, keyed by (owner, id). False when ms is 0 and no callback is given.
    bool SetTimer(const void* owner, UINT_PTR id, UINT ms, TimerCallback callback);
    // The same, with the first run due firstRunIn from now (zero: at the loop's next turn) instead of
    // one period from now.
    bool SetTimer(const void* owner, UINT_PTR id, UINT ms, TimerCallback callback, Duration firstRunIn);
    bool KillTimer(const void* owner, UINT_PTR id);
    void KillTimers(const void* owner);
    bool HasTimer(const void* owner, UINT_PTR id) const;
    // The period a timer of ms milliseconds really has.
    static Duration RoundTimerPeriod(UINT ms);

    // The loop's clock.
    virtual Duration Now() const = 0;
    std::uint64_t NowMs() const {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Now()).count());
    }

    // ---- for implementations (UI thread) ----
    // Handles every queued Send, then the posts that were queued when the call began, taking any new
    // Send before the next post. Returns the number of calls handled.
    std::size_t DispatchPending();
    // Fires the timers due at Now(), earliest first (equal due times in the order they were set).
    std::size_t FireDueTimers();
    std::optional<Duration> NextTimerDue() const;
    bool HasPendingWork() const;
    // Sends from other threads waiting for the UI thread (diagnostics and tests).
    std::size_t PendingSendCount() const;

protected:
    // Any thread, no lock held: work was queued; the UI thread must come to DispatchPending soon.
    virtual void WakeUp() = 0;
    // UI thread: the set of timers changed (a loop that sleeps until the next due time re-arms).
    virtual void OnTimersChanged() {}
    // UI thread: PostQuit was called (a loop that runs a toolkit's event loop ends it).
    virtual void OnQuitRequested() {}
    // Clears the quit request after Run() has returned.
    void ResetQuit();
    // Blocks the UI thread until work is queued or the real-time deadline passes.
    void WaitForWork(std::optional<std::chrono::steady_clock::time_point> deadline);

private:
    struct PendingSend;
    struct Timer {
        TimerCallback callback;
        Duration period{};
        Duration due{};
        std::uint64_t sequence = 0;
    };
    using TimerKey = std::pair<const void*, UINT_PTR>;

    std::optional<LRESULT> SendImpl(std::function<std::optional<LRESULT>()> call,
                                    std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    bool PostImpl(std::function<void()> call);
    void TimersChangedFromAnyThread();

    const std::thread::id m_uiThread;
    CMessageLoop* m_previous = nullptr;

    mutable std::mutex m_mutex;
    std::condition_variable m_workCv;
    std::deque<std::shared_ptr<PendingSend>> m_sends;
    std::deque<std::function<void()>> m_posts;
    bool m_shuttingDown = false;
    bool m_quit = false;
    int m_exitCode = 0;
    std::map<HWND, CWindowWnd*> m_windows;
    std::map<TimerKey, Timer> m_timers;
    std::uint64_t m_timerSequence = 0;
};

}  // namespace zevik

#pragma once
// CPlainMessageLoop: the message loop without a toolkit, for tests and the command line.
//
// With the virtual clock, time moves only when asked: AdvanceBy() steps to each timer's due time in
// turn, fires it and dispatches the messages it caused, so a 5000 ms timer fires in microseconds.
// Run()/RunUntil() with the virtual clock jump to the next due timer whenever nothing is queued, and
// block for work when no timer is set. With the real clock the loop sleeps until the next due timer.

#include <atomic>

#include "ui/message_loop.h"

namespace zevik {

class CPlainMessageLoop final : public CMessageLoop {
public:
    enum class ClockMode { Virtual, Real };

    explicit CPlainMessageLoop(ClockMode mode = ClockMode::Virtual);
    ~CPlainMessageLoop() override;

    int Run() override;
    bool RunUntil(const std::function<bool()>& done) override;
    Duration Now() const override;

    // Virtual clock only (false otherwise): moves time forward, firing every timer that falls due on
    // the way at its due time, with the queued messages dispatched before and after each.
    bool AdvanceBy(Duration by);
    // Dispatches what is queued now, without waiting.
    std::size_t ProcessPending() { return DispatchPending(); }
    // Waits up to timeout (real time) for work from other threads, then dispatches it. True when
    // something was handled.
    bool ProcessPendingWait(std::chrono::milliseconds timeout);

protected:
    void WakeUp() override {}

private:
    // One turn of Run/RunUntil: dispatch, or fire the next timer, or wait for work.
    void Turn();

    ClockMode m_mode;
    std::atomic<long long> m_virtualNowUs{0};  // read by timers set from other threads
    std::chrono::steady_clock::time_point m_start;
};

}  // namespace zevik

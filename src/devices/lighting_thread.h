#pragma once
// CLightingThread: the worker that runs a device's lighting steps on the system tick.
//
// Timing: a step period of n ticks lasts n system ticks of 15.625 ms (a period of 0 or 1 steps on
// every tick). The thread sleeps until its next due step; it does not poll. While the channel is
// closed, or the device is idle (stream paused, synchronised lighting), it checks again every
// 100 ms. While the steps are unseen (the frame only goes to a hidden page) it sleeps until woken.
// Wake() makes it look at the period again at once (the lighting or the unseen state changed).
//
// Stopping sets the stop event, wakes the thread and joins it; every wait of the thread ends on the
// stop event, so no forced termination is ever needed. A step never runs while the channel is closed.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

#include "devices/worker_event.h"

namespace zevik {

class CLightingThread {
public:
    static constexpr std::chrono::microseconds kSystemTick{15625};
    static constexpr std::chrono::milliseconds kIdleRecheck{100};

    struct Hooks {
        std::function<bool()> channelOpen;  // false: no step, recheck in 100 ms
        std::function<bool()> idle;         // true: no step this turn (stream paused, same mode)
        std::function<bool()> unseen;       // true: no step until Wake() (optional)
        std::function<int()> periodTicks;   // the current mode's step period in ticks
        std::function<void()> step;         // one step of the current mode
    };

    explicit CLightingThread(Hooks hooks, std::chrono::microseconds tick = kSystemTick);
    ~CLightingThread();
    CLightingThread(const CLightingThread&) = delete;
    CLightingThread& operator=(const CLightingThread&) = delete;

    // False when already running.
    bool Start();
    // Returns once the thread has ended; nothing when it is not running. Not from the thread itself.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }
    void Wake() { m_wake.Set(); }

    // Steps run since Start (for diagnostics and tests).
    std::uint64_t StepCount() const { return m_steps.load(std::memory_order_relaxed); }
    // Times the thread woke up since Start.
    std::uint64_t WakeCount() const { return m_wakes.load(std::memory_order_relaxed); }

private:
    void Run();

    Hooks m_hooks;
    std::chrono::microseconds m_tick;
    CWorkerEvent m_stop{CWorkerEvent::Reset::Manual};
    CWorkerEvent m_wake{CWorkerEvent::Reset::Auto};
    std::thread m_thread;
    std::atomic<std::uint64_t> m_steps{0};
    std::atomic<std::uint64_t> m_wakes{0};
};

}  // namespace zevik

#pragma once
// CSyncLightingThread: the worker that animates synchronised lighting. At each step it computes the
// shared effect once (SharedLightStep) and stores that entry into every light frame entry of every
// follower: a device of its list whose command channel is open, whose same-mode flag is set and
// whose frame can be seen (IsLightingUnseen). The followers' own lighting threads rest meanwhile;
// each device's frame output shows what is stored.
//
// Threads: the UI thread hands in the device list and the state (SetFollowers, Configure); the
// worker takes copies of both under the lock, computes the step with the lock held (no I/O), and
// writes the frames after releasing it. It sends no command and touches no control or timer.
//
// Timing: one tick per 15.625 ms (the default Windows system tick the speeds were made for); a
// step comes every SharedStepPeriod(speed) ticks (a period of 0 steps on every tick), so speed 0
// steps every 125 ms and speed 4 on every tick. Blinks toggle by the clock. With no follower the
// thread sleeps until Wake(); it never polls.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "devices/device_context.h"
#include "devices/shared_light_state.h"
#include "devices/worker_event.h"

namespace zevik {

class COrbantixUSBDevice;

class CSyncLightingThread {
public:
    static constexpr std::chrono::microseconds kSystemTick{15625};

    // clock: the blinks' millisecond clock (null: the steady clock); tick: the length of one tick.
    explicit CSyncLightingThread(const IDeviceClock* clock = nullptr, std::chrono::microseconds tick = kSystemTick);
    ~CSyncLightingThread();
    CSyncLightingThread(const CSyncLightingThread&) = delete;
    CSyncLightingThread& operator=(const CSyncLightingThread&) = delete;

    // False when already running. The thread ends with the trace line "同步灯光线程设定退出".
    bool Start();
    // Returns once the thread has ended; nothing when it is not running.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }

    // The devices that may follow, in the order their frames are written; they must outlive the
    // thread or be replaced first. Wakes the thread.
    void SetFollowers(std::vector<COrbantixUSBDevice*> devices);
    // A new effect: its type and settings; the animation keeps its place. Wakes the thread.
    void Configure(SharedEffect type, const LightInfoRecord& record);
    // The state as the last step left it.
    SharedLightState State() const;
    // Makes the thread look at its followers again (a flag, a channel or what can be seen changed).
    void Wake() { m_wake.Set(); }

    std::uint64_t StepCount() const { return m_steps.load(std::memory_order_relaxed); }
    std::uint64_t WakeCount() const { return m_wakes.load(std::memory_order_relaxed); }

private:
    void Run();
    // The followers among devices, in order, into following.
    static void Following(const std::vector<COrbantixUSBDevice*>& devices, std::vector<COrbantixUSBDevice*>& following);
    std::uint64_t NowMs() const;

    const IDeviceClock* m_clock;
    CSteadyDeviceClock m_steadyClock;
    std::chrono::microseconds m_tick;

    mutable std::mutex m_lock;  // guards the two members below
    std::vector<COrbantixUSBDevice*> m_devices;
    SharedLightState m_state;

    CWorkerEvent m_stop{CWorkerEvent::Reset::Manual};
    CWorkerEvent m_wake{CWorkerEvent::Reset::Auto};
    std::thread m_thread;
    std::atomic<std::uint64_t> m_steps{0};
    std::atomic<std::uint64_t> m_wakes{0};
};

}  // namespace zevik

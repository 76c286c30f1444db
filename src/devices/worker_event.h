#pragma once
// CWorkerEvent: the stop and wake-up signal of a worker thread. A manual-reset event stays set until
// Reset; an auto-reset event lets one waiter through and clears itself. Waits take a real-time limit,
// so a worker sleeps until its next due step instead of polling.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zevik {

class CWorkerEvent {
public:
    enum class Reset { Manual, Auto };

    explicit CWorkerEvent(Reset mode = Reset::Manual, bool initiallySet = false);
    CWorkerEvent(const CWorkerEvent&) = delete;
    CWorkerEvent& operator=(const CWorkerEvent&) = delete;

    void Set();
    void ResetEvent();
    bool IsSet() const;

    // True when the event was set (an auto-reset event is then cleared), false on time-out.
    bool Wait();
    bool WaitFor(std::chrono::steady_clock::duration timeout);
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);

private:
    bool TakeLocked();

    const Reset m_mode;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_set;
};

}  // namespace zevik

#include "devices/worker_event.h"

namespace zevik {

CWorkerEvent::CWorkerEvent(Reset mode, bool initiallySet) : m_mode(mode), m_set(initiallySet) {}

void CWorkerEvent::Set() {
    {
        std::lock_guard lock(m_mutex);
        m_set = true;
    }
    if (m_mode == Reset::Manual) {
        m_cv.notify_all();
    } else {
        m_cv.notify_one();
    }
}

void CWorkerEvent::ResetEvent() {
    std::lock_guard lock(m_mutex);
    m_set = false;
}

bool CWorkerEvent::IsSet() const {
    std::lock_guard lock(m_mutex);
    return m_set;
}

bool CWorkerEvent::TakeLocked() {
    if (!m_set) {
        return false;
    }
    if (m_mode == Reset::Auto) {
        m_set = false;
    }
    return true;
}

bool CWorkerEvent::Wait() {
    std::unique_lock lock(m_mutex);
    m_cv.wait(lock, [this] { return m_set; });
    return TakeLocked();
}

bool CWorkerEvent::WaitFor(std::chrono::steady_clock::duration timeout) {
    return WaitUntil(std::chrono::steady_clock::now() + timeout);
}

bool CWorkerEvent::WaitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(m_mutex);
    m_cv.wait_until(lock, deadline, [this] { return m_set; });
    return TakeLocked();
}

}  // namespace zevik

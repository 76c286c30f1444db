#include "ui/plain_message_loop.h"

namespace zevik {

CPlainMessageLoop::CPlainMessageLoop(ClockMode mode) : m_mode(mode), m_start(std::chrono::steady_clock::now()) {}

CPlainMessageLoop::~CPlainMessageLoop() = default;

CMessageLoop::Duration CPlainMessageLoop::Now() const {
    if (m_mode == ClockMode::Virtual) return Duration(m_virtualNowUs.load());
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - m_start);
}

void CPlainMessageLoop::Turn() {
    if (DispatchPending() > 0 || IsQuitRequested()) return;
    std::optional<Duration> next = NextTimerDue();
    if (m_mode == ClockMode::Virtual) {
        if (!next) {
            WaitForWork(std::nullopt);
            return;
        }
        if (next->count() > m_virtualNowUs.load()) m_virtualNowUs.store(next->count());
        FireDueTimers();
        return;
    }
    if (!next) {
        WaitForWork(std::nullopt);
        return;
    }
    if (*next <= Now()) {
        FireDueTimers();
        return;
    }
    WaitForWork(m_start + *next);
}

int CPlainMessageLoop::Run() {
    while (!IsQuitRequested()) Turn();
    int code = GetExitCode();
    ResetQuit();
    return code;
}

bool CPlainMessageLoop::RunUntil(const std::function<bool()>& done) {
    while (true) {
        if (done()) return true;
        if (IsQuitRequested()) return false;
        Turn();
    }
}

bool CPlainMessageLoop::AdvanceBy(Duration by) {
    if (m_mode != ClockMode::Virtual || by.count() < 0) return false;
    const long long target = m_virtualNowUs.load() + by.count();
    DispatchPending();
    while (true) {
        std::optional<Duration> next = NextTimerDue();
        if (!next || next->count() > target) break;
        if (next->count() > m_virtualNowUs.load()) m_virtualNowUs.store(next->count());
        FireDueTimers();
        DispatchPending();
    }
    m_virtualNowUs.store(target);
    DispatchPending();
    return true;
}

bool CPlainMessageLoop::ProcessPendingWait(std::chrono::milliseconds timeout) {
    WaitForWork(std::chrono::steady_clock::now() + timeout);
    return DispatchPending() > 0;
}

}  // namespace zevik

#include "devices/lighting_thread.h"

#include <algorithm>

#include "platform/thread_name.h"

namespace zevik {

CLightingThread::CLightingThread(Hooks hooks, std::chrono::microseconds tick)
    : m_hooks(std::move(hooks)), m_tick(tick) {}

CLightingThread::~CLightingThread() {
    Stop();
}

bool CLightingThread::Start() {
    if (m_thread.joinable()) {
        return false;
    }
    m_stop.ResetEvent();
    m_wake.ResetEvent();
    m_steps.store(0, std::memory_order_relaxed);
    m_wakes.store(0, std::memory_order_relaxed);
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CLightingThread::Stop() {
    if (!m_thread.joinable()) {
        return;
    }
    m_stop.Set();
    m_wake.Set();
    m_thread.join();
}

void CLightingThread::Run() {
    SetCurrentThreadName("zevik-light");
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastStep = Clock::now();
    while (!m_stop.IsSet()) {
        if (!m_hooks.channelOpen() || m_hooks.idle()) {
            m_wake.WaitFor(kIdleRecheck);
            m_wakes.fetch_add(1, std::memory_order_relaxed);
            lastStep = Clock::now();
            continue;
        }
        if (m_hooks.unseen && m_hooks.unseen()) {
            m_wake.Wait();  // set by Wake() when the state changes, and by Stop()
            m_wakes.fetch_add(1, std::memory_order_relaxed);
            lastStep = Clock::now();
            continue;
        }
        const int period = std::max(1, m_hooks.periodTicks());
        const auto now = Clock::now();
        Clock::time_point due = lastStep + m_tick * period;
        if (due + m_tick < now) {
            due = now;  // late (a long step, a suspended machine): no burst of catch-up steps
        }
        if (m_wake.WaitUntil(due)) {
            m_wakes.fetch_add(1, std::memory_order_relaxed);
            continue;  // stopped, or the lighting changed: look again
        }
        m_wakes.fetch_add(1, std::memory_order_relaxed);
        if (m_stop.IsSet() || !m_hooks.channelOpen() || m_hooks.idle() ||
            (m_hooks.unseen && m_hooks.unseen())) {
            continue;
        }
        m_hooks.step();
        m_steps.fetch_add(1, std::memory_order_relaxed);
        lastStep = due;
    }
}

}  // namespace zevik

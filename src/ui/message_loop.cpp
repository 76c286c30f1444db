#include "ui/message_loop.h"

#include <algorithm>
#include <atomic>

#include "ui/window_wnd.h"

namespace zevik {

namespace {

std::atomic<CMessageLoop*> g_current{nullptr};
std::atomic<HWND> g_nextHandle{1};

}  // namespace

struct CMessageLoop::PendingSend {
    std::function<std::optional<LRESULT>()> call;
    std::optional<LRESULT> result;
    bool taken = false;  // the UI thread has started the call
    bool done = false;
    std::condition_variable cv;
};

CMessageLoop::CMessageLoop() : m_uiThread(std::this_thread::get_id()) { m_previous = g_current.exchange(this); }

CMessageLoop::~CMessageLoop() {
    BeginShutdown();
    CMessageLoop* expected = this;
    g_current.compare_exchange_strong(expected, m_previous);
}

CMessageLoop* CMessageLoop::Current() { return g_current.load(); }

std::optional<LRESULT> CMessageLoop::SendImpl(std::function<std::optional<LRESULT>()> call,
                                              std::optional<std::chrono::milliseconds> timeout) {
    if (IsUiThread()) return call();
    auto pending = std::make_shared<PendingSend>();
    pending->call = std::move(call);
    {
        std::lock_guard lock(m_mutex);
        if (m_shuttingDown) return std::nullopt;
        m_sends.push_back(pending);
    }
    m_workCv.notify_all();
    WakeUp();
    std::unique_lock lock(m_mutex);
    if (timeout && !pending->cv.wait_for(lock, *timeout, [&] { return pending->done || pending->taken; })) {
        // Not started in time: withdraw it so the UI thread never runs it.
        auto it = std::find(m_sends.begin(), m_sends.end(), pending);
        if (it != m_sends.end()) m_sends.erase(it);
        return std::nullopt;
    }
    pending->cv.wait(lock, [&] { return pending->done; });
    return pending->result;
}

bool CMessageLoop::PostImpl(std::function<void()> call) {
    {
        std::lock_guard lock(m_mutex);
        m_posts.push_back(std::move(call));
    }
    m_workCv.notify_all();
    WakeUp();
    return true;
}

std::optional<LRESULT> CMessageLoop::Send(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendImpl([this, wnd, msg, wParam, lParam]() -> std::optional<LRESULT> {
        CWindowWnd* window = FromHandle(wnd);
        if (window == nullptr) return std::nullopt;
        return window->HandleMessage(msg, wParam, lParam);
    });
}

std::optional<LRESULT> CMessageLoop::SendTimeout(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                                 std::chrono::milliseconds timeout) {
    return SendImpl(
        [this, wnd, msg, wParam, lParam]() -> std::optional<LRESULT> {
            CWindowWnd* window = FromHandle(wnd);
            if (window == nullptr) return std::nullopt;
            return window->HandleMessage(msg, wParam, lParam);
        },
        timeout);
}

bool CMessageLoop::Post(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (FromHandle(wnd) == nullptr) return false;
    return PostImpl([this, wnd, msg, wParam, lParam] {
        // The window may have gone while the message waited.
        if (CWindowWnd* window = FromHandle(wnd)) window->HandleMessage(msg, wParam, lParam);
    });
}

std::optional<LRESULT> CMessageLoop::SendTask(std::function<LRESULT()> task) {
    if (!task) return std::nullopt;
    return SendImpl([task = std::move(task)]() -> std::optional<LRESULT> { return task(); });
}

bool CMessageLoop::PostTask(std::function<void()> task) {
    if (!task) return false;
    return PostImpl(std::move(task));
}

void CMessageLoop::BeginShutdown() {
    std::lock_guard lock(m_mutex);
    m_shuttingDown = true;
    for (auto& pending : m_sends) {
        pending->done = true;
        pending->cv.notify_all();
    }
    m_sends.clear();
}

bool CMessageLoop::IsShuttingDown() const {
    std::lock_guard lock(m_mutex);
    return m_shuttingDown;
}

void CMessageLoop::PostQuit(int exitCode) {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_exitCode = exitCode;
    }
    m_workCv.notify_all();
    OnQuitRequested();
}

bool CMessageLoop::IsQuitRequested() const {
    std::lock_guard lock(m_mutex);
    return m_quit;
}

int CMessageLoop::GetExitCode() const {
    std::lock_guard lock(m_mutex);
    return m_exitCode;
}

void CMessageLoop::ResetQuit() {
    std::lock_guard lock(m_mutex);
    m_quit = false;
}

HWND CMessageLoop::RegisterWindow(CWindowWnd& wnd) {
    HWND handle = g_nextHandle.fetch_add(1);
    std::lock_guard lock(m_mutex);
    m_windows.emplace(handle, &wnd);
    return handle;
}

void CMessageLoop::UnregisterWindow(HWND wnd) {
    std::lock_guard lock(m_mutex);
    m_windows.erase(wnd);
}

CWindowWnd* CMessageLoop::FromHandle(HWND wnd) const {
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(wnd);
    return it == m_windows.end() ? nullptr : it->second;
}

CMessageLoop::Duration CMessageLoop::RoundTimerPeriod(UINT ms) {
    long long us = static_cast<long long>(ms) * 1000;
    long long ticks = (us + kTimerTick.count() - 1) / kTimerTick.count();
    if (ticks < 1) ticks = 1;
    return Duration(ticks * kTimerTick.count());
}

bool CMessageLoop::SetTimer(const void* owner, UINT_PTR id, UINT ms, TimerCallback callback) {
    return SetTimer(owner, id, ms, std::move(callback), RoundTimerPeriod(ms));
}

bool CMessageLoop::SetTimer(const void* owner, UINT_PTR id, UINT ms, TimerCallback callback,
                            Duration firstRunIn) {
    if (!callback) return false;
    Duration period = RoundTimerPeriod(ms);
    Duration now = Now();
    {
        std::lock_guard lock(m_mutex);
        Timer& timer = m_timers[TimerKey{owner, id}];
        timer.callback = std::move(callback);
        timer.period = period;
        timer.due = now + std::max(Duration::zero(), firstRunIn);
        timer.sequence = ++m_timerSequence;
    }
    TimersChangedFromAnyThread();
    return true;
}

bool CMessageLoop::KillTimer(const void* owner, UINT_PTR id) {
    bool erased = false;
    {
        std::lock_guard lock(m_mutex);
        erased = m_timers.erase(TimerKey{owner, id}) != 0;
    }
    if (erased) TimersChangedFromAnyThread();
    return erased;
}

void CMessageLoop::KillTimers(const void* owner) {
    bool erased = false;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_timers.lower_bound(TimerKey{owner, 0});
        while (it != m_timers.end() && it->first.first == owner) {
            it = m_timers.erase(it);
            erased = true;
        }
    }
    if (erased) TimersChangedFromAnyThread();
}

bool CMessageLoop::HasTimer(const void* owner, UINT_PTR id) const {
    std::lock_guard lock(m_mutex);
    return m_timers.count(TimerKey{owner, id}) != 0;
}

void CMessageLoop::TimersChangedFromAnyThread() {
    if (IsUiThread()) {
        OnTimersChanged();
    } else {
        PostImpl([this] { OnTimersChanged(); });
    }
}

std::size_t CMessageLoop::DispatchPending() {
    std::size_t handled = 0;
    std::unique_lock lock(m_mutex);
    std::size_t postBudget = m_posts.size();
    while (true) {
        if (!m_sends.empty()) {
            std::shared_ptr<PendingSend> pending = m_sends.front();
            m_sends.pop_front();
            pending->taken = true;
            pending->cv.notify_all();
            lock.unlock();
            std::optional<LRESULT> result = pending->call();
            lock.lock();
            pending->result = result;
            pending->done = true;
            pending->cv.notify_all();
        } else if (postBudget > 0 && !m_posts.empty()) {
            std::function<void()> post = std::move(m_posts.front());
            m_posts.pop_front();
            --postBudget;
            lock.unlock();
            post();
            lock.lock();
        } else {
            break;
        }
        ++handled;
    }
    return handled;
}

std::size_t CMessageLoop::FireDueTimers() {
    std::size_t fired = 0;
    const Duration now = Now();
    // Each timer fires at most once per call; a timer that fell behind (a stalled loop) is not
    // replayed, as the system's timer messages are not either.
    std::map<TimerKey, std::uint64_t> firedSequences;
    while (true) {
        TimerCallback callback;
        {
            std::lock_guard lock(m_mutex);
            auto best = m_timers.end();
            for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
                if (it->second.due > now) continue;
                auto done = firedSequences.find(it->first);
                if (done != firedSequences.end() && done->second == it->second.sequence) continue;
                if (best == m_timers.end() || it->second.due < best->second.due ||
                    (it->second.due == best->second.due && it->second.sequence < best->second.sequence)) {
                    best = it;
                }
            }
            if (best == m_timers.end()) break;
            Timer& timer = best->second;
            timer.due += timer.period;
            if (timer.due <= now) timer.due = now + timer.period;
            firedSequences[best->first] = timer.sequence;
            callback = timer.callback;
        }
        callback();
        ++fired;
    }
    if (fired > 0) OnTimersChanged();
    return fired;
}

std::optional<CMessageLoop::Duration> CMessageLoop::NextTimerDue() const {
    std::lock_guard lock(m_mutex);
    std::optional<Duration> next;
    for (const auto& [key, timer] : m_timers) {
        if (!next || timer.due < *next) next = timer.due;
    }
    return next;
}

bool CMessageLoop::HasPendingWork() const {
    std::lock_guard lock(m_mutex);
    return !m_sends.empty() || !m_posts.empty();
}

std::size_t CMessageLoop::PendingSendCount() const {
    std::lock_guard lock(m_mutex);
    return m_sends.size();
}

void CMessageLoop::WaitForWork(std::optional<std::chrono::steady_clock::time_point> deadline) {
    std::unique_lock lock(m_mutex);
    auto ready = [this] { return !m_sends.empty() || !m_posts.empty() || m_quit; };
    if (deadline) {
        m_workCv.wait_until(lock, *deadline, ready);
    } else {
        m_workCv.wait(lock, ready);
    }
}

}  // namespace zevik

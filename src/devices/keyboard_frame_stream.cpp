#include "devices/keyboard_frame_stream.h"

#include "platform/thread_name.h"
#include "platform/trace.h"

namespace zevik {

CKeyboardFrameStream::CKeyboardFrameStream(IFrameStreamLink& link, std::chrono::milliseconds backOff)
    : m_link(link), m_backOff(backOff) {}

CKeyboardFrameStream::~CKeyboardFrameStream() {
    Stop();
}

bool CKeyboardFrameStream::Start() {
    std::lock_guard lock(m_mutex);
    if (m_running) return true;
    m_stop = false;
    m_running = true;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CKeyboardFrameStream::Stop() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return;
        m_stop = true;
        m_pending.reset();
    }
    m_wake.notify_all();
    m_thread.join();
    std::lock_guard lock(m_mutex);
    m_running = false;
}

bool CKeyboardFrameStream::IsRunning() const {
    std::lock_guard lock(m_mutex);
    return m_running && !m_stop;
}

void CKeyboardFrameStream::Offer(std::span<const std::uint8_t> frame) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_running || m_stop) return;
        if (m_pending) {
            ++m_counts.replaced;
            m_pending->assign(frame.begin(), frame.end());
        } else {
            m_pending.emplace(frame.begin(), frame.end());
        }
    }
    m_wake.notify_one();
}

void CKeyboardFrameStream::Discard() {
    std::lock_guard lock(m_mutex);
    m_pending.reset();
}

bool CKeyboardFrameStream::HasPending() const {
    std::lock_guard lock(m_mutex);
    return m_pending.has_value();
}

CKeyboardFrameStream::Counts CKeyboardFrameStream::GetCounts() const {
    std::lock_guard lock(m_mutex);
    return m_counts;
}

void CKeyboardFrameStream::Run() {
    SetCurrentThreadName("kbd-stream");
    bool failing = false;  // traced once per run of failures, not once per retry
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_stop || m_pending.has_value(); });
        if (m_stop) break;
        m_sending.swap(*m_pending);
        m_pending.reset();
        lock.unlock();
        const FrameSendResult result = m_link.SendFrame(m_sending);
        lock.lock();
        if (result == FrameSendResult::Sent) {
            ++m_counts.sent;
            failing = false;
            continue;
        }
        if (result == FrameSendResult::Dropped) {
            ++m_counts.dropped;
            continue;
        }
        ++m_counts.failed;
        if (!failing) Trace("keyboard: a streamed frame failed; the stream backs off");
        failing = true;
        // The failed frame waits for the next try unless a newer one came meanwhile.
        if (!m_pending) m_pending.emplace(m_sending);
        const auto until = std::chrono::steady_clock::now() + m_backOff;
        m_wake.wait_until(lock, until, [this] { return m_stop; });
        if (m_stop) break;
    }
}

}  // namespace zevik

#pragma once
// CKeyboardFrameStream: the worker that streams the host-computed frames of the audio modes to the
// keyboard (command 0x12), so that neither the UI thread nor the lighting thread ever waits on the
// link.
//
// Callers hand it the latest frame (Offer, any thread, never blocks on the link). A frame not yet
// sent is replaced by a newer one: frames are skipped, never queued. After a failed send the worker
// rests for the back-off (200 ms) before it sends again; the frame that failed stays pending until a
// newer one replaces it, so once the link is back the keyboard shows the latest frame. A frame the
// link drops (channel closed, stream paused) is simply gone.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace zevik {

enum class FrameSendResult {
    Sent,     // the keyboard took the frame
    Dropped,  // the link cannot carry frames now (closed, paused): nothing to retry
    Failed,   // the exchange failed: back off, then try the latest frame again
};

class IFrameStreamLink {
public:
    virtual ~IFrameStreamLink() = default;
    // Sends one whole frame; called on the stream's worker thread only.
    virtual FrameSendResult SendFrame(std::span<const std::uint8_t> frame) = 0;
};

class CKeyboardFrameStream {
public:
    static constexpr std::chrono::milliseconds kBackOff{200};

    struct Counts {
        std::uint64_t sent = 0;
        std::uint64_t failed = 0;
        std::uint64_t dropped = 0;   // dropped by the link
        std::uint64_t replaced = 0;  // replaced by a newer frame before they were sent
    };

    explicit CKeyboardFrameStream(IFrameStreamLink& link, std::chrono::milliseconds backOff = kBackOff);
    // Stops the worker.
    ~CKeyboardFrameStream();
    CKeyboardFrameStream(const CKeyboardFrameStream&) = delete;
    CKeyboardFrameStream& operator=(const CKeyboardFrameStream&) = delete;

    // Starts the worker; true when it runs (also when it already ran).
    bool Start();
    // Wakes the worker, waits for a send in progress and joins; a pending frame is dropped.
    void Stop();
    bool IsRunning() const;

    // The latest frame: replaces a pending one. Ignored while the worker does not run.
    void Offer(std::span<const std::uint8_t> frame);
    // Drops a pending frame (the lighting left the streamed modes, the channel closed).
    void Discard();
    bool HasPending() const;

    Counts GetCounts() const;

private:
    void Run();

    IFrameStreamLink& m_link;
    const std::chrono::milliseconds m_backOff;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<std::vector<std::uint8_t>> m_pending;
    std::vector<std::uint8_t> m_sending;  // the worker's copy, reused between frames
    bool m_stop = false;
    bool m_running = false;
    Counts m_counts;
    std::thread m_thread;
};

}  // namespace zevik

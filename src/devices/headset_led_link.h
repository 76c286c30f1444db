#pragma once
// CHeadsetLedLink: one headset LED frame (13 LEDs, red, green and blue levels each: 39 bytes) as the
// twelve LED reports the headset takes, sent as control transfers on the command channel's cable
// interface, outside the channel's locks: the reports are no exchange and wait for no answer.
//
// A report that fails does not stop the others and is not sent again. A frame is dropped while the
// channel is closed; it failed only when not one of its reports went out (the link is gone).

#include <atomic>
#include <cstdint>
#include <span>

#include "devices/keyboard_frame_stream.h"

namespace zevik {

class CCommandChannel;

class CHeadsetLedLink final : public IFrameStreamLink {
public:
    static constexpr std::uint32_t kReportTimeoutMs = 100;

    explicit CHeadsetLedLink(CCommandChannel& channel) : m_channel(channel) {}

    FrameSendResult SendFrame(std::span<const std::uint8_t> frame) override;

    std::uint64_t ReportsSent() const { return m_sent.load(std::memory_order_relaxed); }
    std::uint64_t ReportsFailed() const { return m_failed.load(std::memory_order_relaxed); }

private:
    CCommandChannel& m_channel;
    std::atomic<std::uint64_t> m_sent{0};
    std::atomic<std::uint64_t> m_failed{0};
};

}  // namespace zevik

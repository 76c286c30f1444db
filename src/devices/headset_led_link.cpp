#include "devices/headset_led_link.h"

#include <vector>

#include "transport/command_channel.h"
#include "transport/headset_led_report.h"

namespace zevik {

FrameSendResult CHeadsetLedLink::SendFrame(std::span<const std::uint8_t> frame) {
    namespace L = headset_led;
    if (!m_channel.IsOpen() || frame.size() < 3 * static_cast<std::size_t>(L::kLedCount)) {
        return FrameSendResult::Dropped;
    }
    std::vector<L::LedLevels> leds(L::kLedCount);
    for (std::size_t i = 0; i < leds.size(); ++i) leds[i] = {frame[3 * i], frame[3 * i + 1], frame[3 * i + 2]};

    CHidInterface& cable = m_channel.CableInterface();
    std::uint64_t sent = 0;
    for (const L::Report& report : L::MakeFrame(leds)) {
        if (cable.SetOutputReport(report.data(), static_cast<std::uint32_t>(report.size()), kReportTimeoutMs)) {
            ++sent;
        } else {
            m_failed.fetch_add(1, std::memory_order_relaxed);
        }
    }
    m_sent.fetch_add(sent, std::memory_order_relaxed);
    return sent > 0 ? FrameSendResult::Sent : FrameSendResult::Failed;
}

}  // namespace zevik

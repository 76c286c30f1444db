#include "devices/channel_frame_link.h"

#include "transport/command_channel.h"
#include "transport/command_set.h"

namespace zevik {

FrameSendResult CChannelFrameLink::SendFrame(std::span<const std::uint8_t> frame) {
    if (!m_channel.IsOpen() || m_channel.StreamPaused() || frame.empty()) return FrameSendResult::Dropped;
    return StreamLights(m_channel, frame) == kResultDone ? FrameSendResult::Sent : FrameSendResult::Failed;
}

}  // namespace zevik

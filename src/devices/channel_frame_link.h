#pragma once
// CChannelFrameLink: the keyboard's frame stream over its command channel. Each frame goes as one
// lighting stream transfer (command 0x12: chunks of 56 bytes by cable, 24 with a CRC through the
// receiver). Frames are dropped, not failed, while the channel is closed or its stream is paused
// (a settings-block read is under way).

#include "devices/keyboard_frame_stream.h"

namespace zevik {

class CCommandChannel;

class CChannelFrameLink final : public IFrameStreamLink {
public:
    explicit CChannelFrameLink(CCommandChannel& channel) : m_channel(channel) {}

    FrameSendResult SendFrame(std::span<const std::uint8_t> frame) override;

private:
    CCommandChannel& m_channel;
};

}  // namespace zevik

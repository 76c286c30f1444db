#pragma once
// CHeadsetLedOutput: where the headset's light frame goes besides its page: the headset's own LEDs.
// Each lighting step hands it the frame (Offer, from the lighting thread); a worker sends the latest
// frame as twelve LED reports, so neither the UI thread nor the lighting thread waits on the link,
// a frame not yet sent is replaced by a newer one, and the LEDs go on while the window rests in the
// tray. A frame equal to the one last offered is not sent again.
//
// LED levels: each of red, green and blue times the entry's intensity, divided by 256, limited to
// 247; LEDs 0-12 only (a longer frame's other entries stay on the page).

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>

#include "devices/headset_led_link.h"
#include "devices/keyboard_frame_stream.h"
#include "transport/headset_led_report.h"

namespace zevik {

class CLightFrame;

class CHeadsetLedOutput {
public:
    static constexpr std::size_t kFrameBytes = 3 * static_cast<std::size_t>(headset_led::kLedCount);
    using Levels = std::array<std::uint8_t, kFrameBytes>;

    explicit CHeadsetLedOutput(CCommandChannel& channel) : m_link(channel), m_stream(m_link) {}

    // The levels of LEDs 0-12 of a frame (red, green, blue per LED); missing LEDs are dark.
    static Levels LevelsOf(const CLightFrame& frame);

    bool Start() { return m_stream.Start(); }
    // Stops the worker (before the channel goes); the next Offer after Start sends again.
    void Stop();
    // Any thread: the frame's levels replace a frame not yet sent, unless they are the last offered.
    void Offer(const CLightFrame& frame);
    // The next Offer is sent even when it equals the last (a new connection).
    void Forget();

    const CHeadsetLedLink& Link() const { return m_link; }
    CKeyboardFrameStream& Stream() { return m_stream; }

private:
    CHeadsetLedLink m_link;
    CKeyboardFrameStream m_stream;
    std::mutex m_lastLock;
    std::optional<Levels> m_last;
};

}  // namespace zevik

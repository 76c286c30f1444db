#pragma once
// One key or button event from the desktop's input devices, as Linux reports it: when (monotonic
// microseconds, or the event file's own clock), the evdev type and code, and the value (1 press,
// 0 release, 2 auto-repeat). A plain value: sources hand out copies.

#include <cstdint>
#include <functional>

namespace zevik {

struct InputEvent {
    std::uint64_t timeUs = 0;
    std::uint16_t type = 0;
    std::uint16_t code = 0;
    std::int32_t value = 0;

    friend bool operator==(const InputEvent&, const InputEvent&) = default;
};

// Where a source delivers its events, in order.
using InputEventSink = std::function<void(const InputEvent&)>;

}  // namespace zevik

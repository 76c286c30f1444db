#pragma once
// One key or button event from the desktop's input devices, as Linux reports it: when (monotonic
// microseconds, or the event file's own clock), the evdev type and code, and the value (1 press,
// 0 release, 2 auto-repeat). A plain value: sources hand out copies.

#include <cstdint>
#include <ctime>
#include <functional>

namespace zevik {

struct InputEvent {
    std::uint64_t timeUs = 0;
    std::uint16_t type = 0;
    std::uint16_t code = 0;
    std::int32_t value = 0;

    friend bool operator==(const InputEvent&, const InputEvent&) = default;
};

// Now, on the clock the input devices stamp their events with (CLOCK_MONOTONIC), in microseconds: a
// recording's start is measured against it.
inline std::uint64_t InputClockNowUs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000u;
}

// Where a source delivers its events, in order.
using InputEventSink = std::function<void(const InputEvent&)>;

}  // namespace zevik

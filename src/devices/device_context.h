#pragma once
// DeviceContext: what a device object needs from the program, handed to its constructor so that no
// device reaches for a global. The main window's builder callback passes it when the control factory
// creates a device page from its root element's class name ("OrbantixUSBDevice",
// "OrbantixMouseDevice", ...). Everything it points to outlives the device objects.

#include <chrono>
#include <cstdint>

#include "settings/profile_locations.h"

namespace zevik {

class CEmulation;
class CMessageLoop;
class IHidBackend;

// The millisecond clock of the lighting steps (blink time stamps). Monotonic.
class IDeviceClock {
public:
    virtual ~IDeviceClock() = default;
    virtual std::uint64_t NowMs() const = 0;
};

// The steady clock, counted from an arbitrary start.
class CSteadyDeviceClock final : public IDeviceClock {
public:
    std::uint64_t NowMs() const override {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
};

struct DeviceContext {
    // The HID backend of the device's command and notification channels (hidraw or emulated).
    // Null: the device gets a backend that finds and opens nothing.
    IHidBackend* hidBackend = nullptr;
    // The UI thread's loop: Send/Post to the main window, and the device option's timers.
    // Null: nothing is sent and no timer runs.
    CMessageLoop* uiLoop = nullptr;
    // Where profiles and factory files live. Null: the device classes use the default locations.
    const CProfileLocations* profileLocations = nullptr;
    // The lighting steps' clock. Null: the steady clock.
    const IDeviceClock* clock = nullptr;
    // The emulated devices behind hidBackend, if any: an emulated headset's sound card is theirs.
    CEmulation* emulation = nullptr;
};

// The context's profile locations, or the default ones when it names none.
inline CProfileLocations ProfileLocationsOf(const DeviceContext& context) {
    return context.profileLocations != nullptr ? *context.profileLocations : CProfileLocations();
}

}  // namespace zevik

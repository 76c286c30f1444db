#pragma once
// IDeviceStatusSink: where a device hands the status record it polls (battery level, charging state,
// connection). The power panel of the device's tab implements it; the device only knows this
// interface, so it stays free of the panel's UI.
//
// Record (up to 64 bytes; the mouse sends 6): byte 0 battery level in percent, byte 1 charging state
// (0 idle, 1 charging, 2 full), byte 3 connection (1 through the receiver, 0 by cable), byte 4 the
// value the device also sends to the main window, byte 5 device specific.

#include <cstdint>
#include <span>

namespace zevik {

class IDeviceStatusSink {
public:
    virtual ~IDeviceStatusSink() = default;
    // On the UI thread.
    virtual void ShowDeviceStatus(std::span<const std::uint8_t> record) = 0;
};

}  // namespace zevik

#pragma once
// What a report on the mouse's notification collection means, and whether the firmware behind an
// interface is old enough to need the upgrade notice.

#include <cstdint>
#include <optional>

namespace zevik {

// The first usage of the first field of a notification report, decoded.
struct MouseNotification {
    enum class Kind {
        None,      // a usage the mouse does not define: ignored
        Resync,    // 0x0401, 0x0402: the host reads the device state again
        KeyPress,  // 0x0403: a button was pressed (drives the reactive lighting)
        Slot,      // 0x10s: the mouse switched to profile slot s
        SlotStage  // 0x11ts: the mouse switched to slot s and sensitivity stage t
    };
    Kind kind = Kind::None;
    int slot = 0;   // 0..15 for Slot and SlotStage
    int stage = 0;  // 0..15 for SlotStage
};

MouseNotification DecodeMouseNotification(uint16_t usage);

// The notice the main window hands to the firmware-upgrade prompt.
struct MouseFirmwareNotice {
    uint16_t productId = 0;
    uint16_t version = 0;
};

inline constexpr uint16_t kMouseVendorId = 0x320F;
inline constexpr uint16_t kMouseCableProductId = 0x225A;
inline constexpr uint16_t kMouseReceiverProductId = 0x225B;
inline constexpr uint16_t kMouseCableMinFirmware = 0x0110;     // below: the cable firmware is outdated
inline constexpr uint16_t kMouseReceiverMinFirmware = 0x0106;  // below: the receiver firmware is outdated

// A notice when the interface's attributes name the mouse's cable or receiver with a version below
// its threshold; nullopt for current firmware and for any other device.
std::optional<MouseFirmwareNotice> MouseOldFirmwareNotice(uint16_t vendorId, uint16_t productId,
                                                          uint16_t version);

}  // namespace zevik

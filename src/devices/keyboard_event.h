#pragma once
// What a report on one of the keyboard's event interfaces means. The keyboard reports by cable
// (kind 1) and through its receiver (kind 9); key presses and releases come only by cable.

#include <cstdint>

namespace zevik {

struct KeyboardEvent {
    enum class Kind {
        None,            // a code the keyboard does not define here: ignored
        Resync,          // 0x401: read the device state again
        ReloadProfile,   // 0x402: reload the profile first, then as Resync
        KeyPressed,      // 0x500 + k: the key at physical position k went down (cable only)
        KeyReleased,     // 0x600 + k: ... and up again (cable only)
        Slot,            // 0x10s: the keyboard switched to profile slot s
        SlotAndSecond,   // 0x11ts: slot s, second profile number t
    };
    Kind kind = Kind::None;
    int position = 0;  // KeyPressed, KeyReleased
    int slot = 0;      // Slot, SlotAndSecond: 0..15
    int second = 0;    // SlotAndSecond: 0..15
};

inline constexpr std::uint16_t kKeyboardEventResync = 0x401;
inline constexpr std::uint16_t kKeyboardEventReloadProfile = 0x402;

KeyboardEvent DecodeKeyboardEvent(std::uint16_t code, bool byCable);

}  // namespace zevik

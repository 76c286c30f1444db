#pragma once
// Linux input codes to the key page's tables: a key's evdev code (the code the kernel's HID driver
// gives the key's usage) to its key table row, and a mouse button's code to its button bit. Keys the
// capture covers are the key table's rows 0 to 112 (the modifiers, the ordinary keys up to K151);
// anything else, motion and wheels included, maps to nothing.

#include <cstdint>

namespace zevik {

inline constexpr int kCapturedKeyRows = 113;

// The key table row of an EV_KEY code; -1 when the capture does not cover it.
int KeyRowOfEvdevCode(std::uint16_t code);

// The button bit of an EV_KEY mouse button (left 0x01, right 0x02, middle 0x04, back 0x08, forward
// 0x10); 0 for anything else.
std::uint8_t ButtonBitOfEvdevCode(std::uint16_t code);

}  // namespace zevik

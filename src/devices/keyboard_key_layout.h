#pragma once
// The keyboard's logical keys and how they meet the physical positions a keyboard reports.
//
// Every keyboard of the family is described by the same 170 logical keys (0..169), each with a
// factory assignment triple. A connected keyboard reports, per physical position, the triple of the
// key sitting there (command 0x07) and the LED that lights it (command 0x1B); the host learns from
// them where each logical key sits and which LED it drives.

#include <array>
#include <cstdint>
#include <span>

#include "devices/key_light_frame.h"
#include "devices/lighting_tables.h"
#include "settings/assignment_code.h"

namespace zevik {

inline constexpr int kKeyboardLogicalKeys = lighting::kLogicalKeyCount;  // 170
inline constexpr std::uint8_t kKeyboardNoPosition = 255;
// LED indexes from here on name no LED of any keyboard of the family: they are ignored.
inline constexpr int kKeyboardLedLimit = 170;
// The logical key that switches the keyboard's function layer (Fn).
inline constexpr int kKeyboardFunctionKey = 110;

// The factory assignment of every logical key.
const std::array<AssignmentCode, kKeyboardLogicalKeys>& KeyboardDefaultKeyCodes();

struct KeyboardKeyMaps {
    std::array<std::uint8_t, kKeyboardLogicalKeys> position{};  // kKeyboardNoPosition: not on this keyboard
    KeyLedIndices led{};                                         // kNoLed: no LED
};

// Logical key j sits at the first position k below positions whose triple (bytes 3k..3k+2 of
// keyCodeTable) equals j's factory triple; it drives ledIndexTable[k] unless that is 170 or more.
// Positions beyond either table are not looked at.
KeyboardKeyMaps BuildKeyboardKeyMaps(std::span<const std::uint8_t> keyCodeTable,
                                     std::span<const std::uint8_t> ledIndexTable, int positions);

}  // namespace zevik

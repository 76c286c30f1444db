#pragma once
// The mouse's buttons: its twelve logical keys with their factory assignments, the map from logical
// key to physical position learnt from the key code table the mouse reports, and the layer-1 key
// image sent with command 0x09 (three bytes per physical position: type, parameter 1, parameter 2).

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "settings/assignment_code.h"
#include "settings/key_assign_record.h"

namespace zevik {

inline constexpr int kMouseLogicalKeys = 12;
inline constexpr uint8_t kMouseNoKey = 170;  // key map entry of a logical key the mouse lacks

// Factory assignment of each logical key, in key order.
inline constexpr std::array<AssignmentCode, kMouseLogicalKeys> kMouseDefaultKeyCodes = {{
    {0x10, 0x10, 0x00},
    {0x10, 0x01, 0x00},
    {0x10, 0x04, 0x00},
    {0x10, 0x02, 0x00},
    {0x10, 0x08, 0x00},
    {0x13, 0x01, 0x00},
    {0x13, 0x02, 0x00},
    {0x13, 0x03, 0x00},
    {0x15, 0x03, 0x00},
    {0xA0, 0x1B, 0x00},
    {0x16, 0x90, 0x01},
    {0x14, 0x78, 0x02},
}};

using MouseKeyMap = std::array<uint8_t, kMouseLogicalKeys>;

// Logical key j -> the first physical position k below positions whose triple (bytes 3k..3k+2 of
// keyCodeTable) equals j's factory triple; kMouseNoKey when none does. Positions beyond the table
// are not looked at.
MouseKeyMap BuildMouseKeyMap(std::span<const uint8_t> keyCodeTable, int positions);

// Assignment types that bind a macro; parameter 1 is the macro's index in "macro.config".
inline constexpr uint8_t kAssignMacro = 0x70;
inline constexpr uint8_t kAssignMacroRepeat = 0x71;

struct MouseKeyImage {
    std::vector<uint8_t> image;  // positions x 3 bytes
    std::vector<int> macros;     // macro indices in order of first use; the mouse numbers them 0, 1, ...
};

// The layer-1 image: a copy of the key code table (its first positions x 3 bytes), then for every
// logical key with a position, its assignment from keyList. A macro assignment whose macro index is
// below macroCount is renumbered to its place among the distinct macros met so far; one at or above
// macroCount falls back to the key's factory triple. The list itself is not changed.
MouseKeyImage BuildMouseKeyImage(std::span<const uint8_t> keyCodeTable, int positions,
                                 const MouseKeyMap& keyMap, std::span<const KeyAssignRecord> keyList,
                                 int macroCount);

}  // namespace zevik

#pragma once
// The mouse's buttons: its twelve logical keys with their factory assignments, the map from logical
// key to physical position learnt from the key code table the mouse reports, and the layer-1 key
// image sent with command 0x09 (three bytes per physical position: type, parameter 1, parameter 2).

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "devices/key_layer_image.h"
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

// positions x 3 bytes, and the macro indices in order of first use (the mouse numbers them 0, 1, ...).
using MouseKeyImage = KeyLayerImage;

// The layer-1 image (key_layer_image.h) over the first positions of the key code table, for every
// logical key of keyList. The list itself is not changed.
MouseKeyImage BuildMouseKeyImage(std::span<const uint8_t> keyCodeTable, int positions,
                                 const MouseKeyMap& keyMap, std::span<const KeyAssignRecord> keyList,
                                 int macroCount);

}  // namespace zevik

#pragma once
// The keyboard's two key layers as it takes them: layer 1 with command 0x09, layer 2 with command
// 0x27, each N x 3 bytes (type, parameter 1, parameter 2 per physical position; N is device
// information byte 5). Both start from the key code table the keyboard reported (read with 0x07), so
// positions no logical key covers keep their factory triple.
//
// Layer 1 carries the keys 0-125 and may bind macros (renumbered as key_layer_image.h says; the
// macros it uses are then sent with the macro image). Layer 2 carries every logical key with a
// position and binds no macros: the macro image is numbered by layer 1 alone, so a macro code in
// layer 2 falls back to the key's factory triple.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "devices/key_layer_image.h"
#include "devices/keyboard_key_layout.h"
#include "settings/assignment_code.h"
#include "settings/key_assign_record.h"

namespace zevik {

inline constexpr size_t kKeyboardLayer1Keys = 126;  // logical keys 0-125

// keyCodeTable: the N x 3 bytes read with 0x07. positionOf[j]: logical key j's position.
// keys[j]: logical key j's assignment in the layer; defaults[j]: its factory triple.
KeyLayerImage BuildKeyboardLayer1Image(std::span<const uint8_t> keyCodeTable, std::span<const uint8_t> positionOf,
                                       std::span<const KeyAssignRecord> keys,
                                       std::span<const AssignmentCode> defaults, int macroCount);
std::vector<uint8_t> BuildKeyboardLayer2Image(std::span<const uint8_t> keyCodeTable,
                                              std::span<const uint8_t> positionOf,
                                              std::span<const KeyAssignRecord> keys,
                                              std::span<const AssignmentCode> defaults);

// A layer in which every logical key holds its factory triple (key index and default as in "KeyList").
std::vector<KeyAssignRecord> FactoryKeyLayer(std::span<const AssignmentCode> defaults);

}  // namespace zevik

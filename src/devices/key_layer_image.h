#pragma once
// A key layer as the mouse and the keyboard take it (commands 0x09 and 0x27): three bytes per
// physical position (type, parameter 1, parameter 2). The image starts as a copy of a base table
// (positions the keys do not cover keep its triples); then every logical key with a position puts
// its assignment there. Several logical keys may share a position (the keyboard's keys without a
// function of their own all match the one position that reports that triple): a later key wins,
// except that a key holding its factory triple never replaces another key's changed assignment.
//
// Macro assignments (type 0x70 or 0x71, parameter 1 the macro's index in "macro.config") are
// renumbered: the device stores only the macros the layer uses, numbered 0, 1, ... in order of first
// use, so each distinct index is replaced by its place in that order. An index at or beyond the
// listed macros falls back to the key's factory triple: the device would otherwise play whatever its
// macro memory holds.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "settings/assignment_code.h"
#include "settings/key_assign_record.h"

namespace zevik {

// Assignment types that bind a macro; parameter 1 is the macro's index in "macro.config".
inline constexpr uint8_t kAssignMacro = 0x70;
inline constexpr uint8_t kAssignMacroRepeat = 0x71;

inline bool IsMacroAssignment(AssignmentCode code) {
    return code.type == kAssignMacro || code.type == kAssignMacroRepeat;
}

// macroCount for a layer that may not bind macros: every macro assignment falls back.
inline constexpr int kLayerWithoutMacros = -1;

struct KeyLayerImage {
    std::vector<uint8_t> image;  // base.size() rounded down to whole triples
    std::vector<int> macros;     // "macro.config" indices in order of first use; device macro n = macros[n]
};

// keyList[j] is logical key j's assignment and defaults[j] its factory triple; positionOf[j] its
// physical position (a value at or beyond the image's positions means the device lacks the key).
// Only logical keys below keyLimit (and below the sizes of keyList, positionOf, defaults) are
// looked at. macroCount is the number of macros listed, or kLayerWithoutMacros.
KeyLayerImage BuildKeyLayerImage(std::span<const uint8_t> base, std::span<const uint8_t> positionOf,
                                 std::span<const KeyAssignRecord> keyList,
                                 std::span<const AssignmentCode> defaults, int macroCount,
                                 size_t keyLimit);

}  // namespace zevik

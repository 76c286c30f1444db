#pragma once
// One element of "KeyList": the button or key number, its assignment now and its factory one.

#include <cstddef>
#include <cstdint>

#include "settings/assignment_code.h"

namespace zevik {

// Layout (natural alignment, little-endian): 0-1 key index, 2-4 assignment (type, p1, p2),
// 6-7 key index again, 8-10 default assignment; bytes 5 and 11 are padding.
struct KeyAssignRecord {
    std::uint16_t keyIndex = 0;
    AssignmentCode assignment;
    std::uint16_t defaultKeyIndex = 0;
    AssignmentCode defaultAssignment;

    friend bool operator==(const KeyAssignRecord&, const KeyAssignRecord&) = default;
};
static_assert(offsetof(KeyAssignRecord, assignment) == 2);
static_assert(offsetof(KeyAssignRecord, defaultKeyIndex) == 6);
static_assert(offsetof(KeyAssignRecord, defaultAssignment) == 8);
static_assert(sizeof(KeyAssignRecord) == 12);

}  // namespace zevik

#pragma once
// The record the factory tool "WorkTool" gets when it asks what this program serves: 1024 bytes of
// little-endian 32-bit values. A header of five values (2, 3, 0, 2, the row count), then three per
// update row (hex flag, kind, current version); the rest is zero.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "update/update_entry.h"

namespace zevik {

// The kind the record travels under.
inline constexpr std::uint32_t kWorkToolRecordKind = 5;
inline constexpr std::size_t kWorkToolRecordBytes = 1024;
using WorkToolRecord = std::array<std::uint8_t, kWorkToolRecordBytes>;

// Rows past what the record holds (83) are left out, and the row count says how many are in.
WorkToolRecord BuildWorkToolRecord(std::span<const UpdateEntry> rows);

}  // namespace zevik

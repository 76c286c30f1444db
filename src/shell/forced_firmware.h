#pragma once
// The firmware this program needs at least: a mouse (by cable) or receiver whose firmware is older
// gets a notice instead of its page. The packages themselves are offered by the update list; this
// program never starts them.

#include <array>
#include <cstdint>
#include <optional>

namespace zevik {

struct ForcedFirmwareRow {
    std::uint16_t productId;
    std::uint16_t minimumVersion;  // below it the firmware must be upgraded
};

inline constexpr std::array<ForcedFirmwareRow, 2> kForcedFirmwareTable = {{
    {0x225A, 0x0110},  // the mouse by cable (nRF52840, target version 0110)
    {0x225B, 0x0106},  // the receiver (nRF52820, target version 0106)
}};

// The row that applies to a product at a version; none when the firmware is new enough or the
// product is not one of the table.
std::optional<ForcedFirmwareRow> ForcedFirmwareFor(std::uint16_t productId, std::uint16_t version);

}  // namespace zevik

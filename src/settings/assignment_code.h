#pragma once
// The 24-bit function of a button or key: type, parameter 1, parameter 2. Stored in "KeyList" as the
// integer type * 65536 + p1 * 256 + p2 and sent to the device as these three bytes in this order.

#include <cstdint>

namespace zevik {

struct AssignmentCode {
    std::uint8_t type = 0;
    std::uint8_t p1 = 0;
    std::uint8_t p2 = 0;

    // Splits the stored integer; only its low 24 bits count.
    static constexpr AssignmentCode FromInt(std::int64_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    }
    constexpr std::int32_t ToInt() const { return type * 65536 + p1 * 256 + p2; }

    friend constexpr bool operator==(const AssignmentCode&, const AssignmentCode&) = default;
};
static_assert(sizeof(AssignmentCode) == 3);

}  // namespace zevik

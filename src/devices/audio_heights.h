#pragma once
// The arithmetic of the audio styles. Band levels come from another program (or from our own
// analysis), so any 32-bit value may arrive: every product and sum is taken in 64 bits and saturated
// back into the signed 32-bit range, never wrapped.
//
// Height value: y(v) = 600 - v x 600 / 2000, so 600 at v = 0 (silence) and 0 at v = 2000 (a full
// level); y+(v) is y(v), or 500 where y(v) is negative (v of 2004 or more). Divisions truncate toward
// zero.

#include <cstdint>
#include <limits>
#include <span>

namespace zevik::audio {

inline constexpr std::int32_t kFullLevel = 2000;  // a change of this size between records is full level
inline constexpr std::int32_t kSilentHeight = 600;
inline constexpr std::int32_t kOverflowHeight = 500;  // y+ of a band beyond full level

constexpr std::int32_t Saturate(std::int64_t value) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < lo ? lo : value > hi ? hi : value);
}

constexpr std::int32_t Height(std::int32_t level) {
    return Saturate(kSilentHeight - std::int64_t{level} * kSilentHeight / kFullLevel);
}

constexpr std::int32_t HeightOrOverflow(std::int32_t level) {
    const std::int32_t y = Height(level);
    return y < 0 ? kOverflowHeight : y;
}

// The sum of y+ over the levels, divided by their count (0 for none).
constexpr std::int32_t MeanHeightOrOverflow(std::span<const std::int32_t> levels) {
    if (levels.empty()) return 0;
    std::int64_t sum = 0;
    for (std::int32_t v : levels) sum += HeightOrOverflow(v);
    return Saturate(sum / static_cast<std::int64_t>(levels.size()));
}

// The levels from first to last (inclusive) summed and divided by 3: a band group of the bar styles.
constexpr std::int32_t GroupLevel(std::span<const std::int32_t> levels, int first, int last) {
    std::int64_t sum = 0;
    for (int b = first; b <= last; ++b) sum += levels[static_cast<std::size_t>(b)];
    return Saturate(sum / 3);
}

static_assert(Height(0) == 600 && Height(2000) == 0 && Height(4000) == -600);
static_assert(HeightOrOverflow(2003) == 0 && HeightOrOverflow(2004) == 500);

}  // namespace zevik::audio

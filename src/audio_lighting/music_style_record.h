#pragma once
// MusicStyleRecord: the music window's four named groups of three values, and which group is chosen.
// The values are the window's slider positions (0-9); what they mean is the capture program's
// business, which gets the chosen group's three.

#include <array>
#include <cstdint>
#include <string>

namespace zevik {

struct MusicStyleRecord {
    static constexpr int kGroupCount = 4;
    static constexpr int kMaxValue = 9;  // the sliders' range is 0..kMaxValue

    std::uint8_t style = 0;                                           // the chosen group, 0..3
    std::array<std::string, kGroupCount> names;                       // UTF-8, one per group
    std::array<std::array<std::uint8_t, 3>, kGroupCount> groups{};  // red, green, blue of each group

    // The chosen group's values; group 0 when style is out of range (a hand-edited file).
    const std::array<std::uint8_t, 3>& Chosen() const { return groups[style < kGroupCount ? style : 0]; }

    friend bool operator==(const MusicStyleRecord&, const MusicStyleRecord&) = default;
};

}  // namespace zevik

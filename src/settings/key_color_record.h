#pragma once
// The colour of one key position in a custom colour group ("LightColorInfo"[g][k]).

#include <cstdint>

namespace zevik {

struct KeyColorRecord {
    std::uint8_t red = 0;    // "Red"
    std::uint8_t green = 0;  // "Green"
    std::uint8_t blue = 0;   // "Blue"
    std::uint8_t alpha = 0;  // "Alpha"

    friend bool operator==(const KeyColorRecord&, const KeyColorRecord&) = default;
};
static_assert(sizeof(KeyColorRecord) == 4);

}  // namespace zevik

#pragma once
// One element of "LightList": a per-zone lighting entry (read only).

#include <cstdint>

namespace zevik {

struct LightListRecord {
    std::uint8_t ledRegMode = 0;     // "LEDREGMode"
    std::uint8_t ledBrightness = 0;  // "LEDBrightness"
    std::uint8_t ledSpeed = 0;       // "LEDSpeed"
    std::uint8_t ledDirection = 0;   // "LEDDirection": 0 or 1
    std::uint8_t ledMultiColor = 0;  // "LEDMultiColor": 0 or 1
    std::uint8_t red = 0;            // "red"
    std::uint8_t green = 0;          // "green"
    std::uint8_t blue = 0;           // "blue"
    std::uint8_t present = 0;        // 1 when the element was an object; 0 (all values 0) otherwise

    friend bool operator==(const LightListRecord&, const LightListRecord&) = default;
};
static_assert(sizeof(LightListRecord) == 9);

}  // namespace zevik

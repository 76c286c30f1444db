#pragma once
// One step of a lighting sequence: an element of a ".light" file's "LEDEffectList".

#include <cstddef>
#include <cstdint>

namespace zevik {

struct LightEffectRecord {
    std::uint8_t ledRegMode = 0;     // "LEDREGMode": step type
    std::uint8_t ledBrightness = 0;  // "LEDBrightness": level 0-4
    std::uint8_t ledSpeed = 0;       // "LEDSpeed": level 0-4
    std::uint8_t ledDirection = 0;   // "LEDDirection"
    std::uint8_t ledMultiColor = 0;  // "LEDMultiColor"
    std::uint8_t red = 0;            // "red"
    std::uint8_t green = 0;          // "green"
    std::uint8_t blue = 0;           // "blue"
    std::int32_t time = 0;           // "Time": duration of the step in milliseconds
    std::int32_t cyle = 0;           // "Cyle": repetitions

    friend bool operator==(const LightEffectRecord&, const LightEffectRecord&) = default;
};
static_assert(offsetof(LightEffectRecord, time) == 8);
static_assert(sizeof(LightEffectRecord) == 16);

}  // namespace zevik

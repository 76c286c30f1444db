#pragma once
// The "AudioLightInfo" section: audio-reactive lighting. Nine bytes in key order.

#include <cstdint>

namespace zevik {

struct AudioLightInfoRecord {
    std::uint8_t audioMode = 0;       // "AudioMode": audio style
    std::uint8_t bkColorR = 0;        // "BkColorR", "BkColorG", "BkColorB": background colour
    std::uint8_t bkColorG = 0;
    std::uint8_t bkColorB = 0;
    std::uint8_t fgColorR = 0;        // "FgColorR", "FgColorG", "FgColorB": foreground colour
    std::uint8_t fgColorG = 0;
    std::uint8_t fgColorB = 0;
    std::uint8_t sevenColorFlags = 0; // "7ColorFlags": 0 or 1
    std::uint8_t colorTypeFlags = 0;  // "ColorTypeFlags": 0 or 1

    friend bool operator==(const AudioLightInfoRecord&, const AudioLightInfoRecord&) = default;
};
static_assert(sizeof(AudioLightInfoRecord) == 9);

}  // namespace zevik

#pragma once
// The "LightInfo" section: the selected lighting effect and its parameters. The device command
// builders copy it byte by byte, so its 14-byte layout is fixed.

#include <cstddef>
#include <cstdint>

namespace zevik {

struct LightInfoRecord {
    std::uint8_t selectItem = 0;   // 0  "SelectItem": position in the device's mode list
    std::uint8_t light = 0;        // 1  "Light": brightness level 0-4
    std::uint8_t speed = 0;        // 2  "Speed": speed level 0-4
    std::uint8_t fx = 0;           // 3  "Fx": direction
    std::uint8_t multiColor = 0;   // 4  "MultiColor": 0 or 1
    std::uint8_t red = 0;          // 5  "Red"
    std::uint8_t green = 0;        // 6  "Green"
    std::uint8_t blue = 0;         // 7  "Blue"
    std::uint8_t reserved[3] = {}; // 8-10 not stored, always 0
    std::uint8_t zzccLedMode = 0;  // 11 "ZZCCLedMode": sub-mode of one keyboard effect
    std::uint8_t customGroup = 0;  // 12 "CustomGroup": custom-colour slot
    std::uint8_t oldLedmode = 0;   // 13 "OldLedmode"

    friend bool operator==(const LightInfoRecord&, const LightInfoRecord&) = default;
};
static_assert(sizeof(LightInfoRecord) == 14);
static_assert(offsetof(LightInfoRecord, zzccLedMode) == 11);

}  // namespace zevik

#pragma once
// The common lighting steps of every device: each computes one animation step from the lighting
// record and the animation state and writes every entry of the light frame. They are plain functions
// so that the device's thread, the synchronised lighting and the tests run the same code.
//
// Fields of the record used: selectItem (mode, not read here), light (brightness level), speed,
// fx (direction: 0 counts down, non-zero up), multiColor, red, green, blue. Levels outside their
// tables are bounded by the table lookups; the record itself is never changed.

#include <cstdint>

#include "devices/lighting_frame.h"
#include "settings/light_info_record.h"

namespace zevik {

// The animation state of the common steps.
struct LightAnimation {
    std::uint8_t x = 0;          // step counter
    std::uint8_t hue = 0;        // wheel position, or the fixed-colour index of the four-colour steps
    std::uint8_t on = 0;         // blink: 1 while lit
    std::uint64_t toggleMs = 0;  // blink: clock time of the last toggle
    bool toggled = false;        // blink: a toggle has happened since the state was reset
};

// Breathing: x = S(direction, 128, x, 1); when x becomes 0 the hue advances by 16 (0 again above
// 192). Colour wheel(hue) when multicolour, else the record's colour; intensity breathing(x) x bright / 256.
void StepBreathe(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame);
// Breathing through the four fixed colours: the colour index advances when x becomes 0 (0 after 3).
void StepBreatheFourColours(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame);
// The record's colour at bright.
void StepSteady(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame);
// x = S(direction, 192, x, 1); every entry wheel(x) at bright.
void StepSpectrum(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame);
// When blink period (speed) x 200 ms have passed since the last toggle (or none has happened yet),
// the on/off flag toggles at nowMs and x advances by 16 (0 again at 192). On: wheel(x) when
// multicolour, else the record's colour, at bright; off: all zero.
void StepBlink(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame, std::uint64_t nowMs);
// As StepBlink, with the fixed-colour index advancing by one (0 after 3) and that colour shown.
void StepBlinkFourColours(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame,
                          std::uint64_t nowMs);
// Travelling wave over the first count entries. Multicolour: x = S(d, 192, x, 1) and entry i shows
// wheel((x + 12 i) mod 192) at bright. Single colour: x = S(d, 96, x, 1) and entry i shows the
// record's colour at bright x wave((x + 12 i) mod 96) / 256.
void StepTravellingWave(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame, int count);
// Every entry zero.
void StepOff(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame);

}  // namespace zevik

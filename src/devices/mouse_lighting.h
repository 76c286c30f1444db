#pragma once
// The mouse's own lighting: its mode table and the three steps of its own (wave, flow, reactive),
// as plain functions over the lighting record, the animation state and the light frame, so the
// lighting thread and the tests run the same code. The mouse has 15 LEDs; the wave effects treat
// them as seven groups: {0, 13}, {1, 12}, {2, 11}, {3, 10}, {4, 9}, {5, 8}, {6, 14, 7}.

#include <array>
#include <cstdint>
#include <random>

#include "devices/lighting_frame.h"
#include "devices/lighting_levels.h"
#include "devices/lighting_steps.h"
#include "settings/light_info_record.h"

namespace zevik {

inline constexpr int kMouseLedCount = 15;
inline constexpr int kMouseLedGroups = 7;
inline constexpr int kMouseNoLed = -1;
inline constexpr std::array<std::array<int, 3>, kMouseLedGroups> kMouseLedGroupTable = {{
    {0, 13, kMouseNoLed},
    {1, 12, kMouseNoLed},
    {2, 11, kMouseNoLed},
    {3, 10, kMouseNoLed},
    {4, 9, kMouseNoLed},
    {5, 8, kMouseNoLed},
    {6, 14, 7},
}};

// What the lighting thread runs for a mode code.
enum class MouseLightStep {
    Wave,                // 0
    Spectrum,            // 1
    Breathe,             // 2
    Steady,              // 3
    Blink,               // 4
    Flow,                // 5
    Reactive,            // 6
    BreatheFourColours,  // 7
    BlinkFourColours,    // 8
    Sequence,            // 9, 11 and above: the profile's lighting sequence
    Off                  // 10
};
MouseLightStep MouseStepForMode(int mode);

// Step period in ticks: 16, 12, 8, 4, 2 for the flow (mode 5), 8, 6, 4, 2, 1 for every other mode.
// Speed levels outside 0..4 are clamped.
int MouseStepPeriod(int mode, int speed);

// Per-LED state of the reactive mode.
struct MouseLedState {
    enum Phase : std::uint8_t { Idle = 0, Rising = 1, Falling = 2 };
    std::array<std::uint8_t, kMouseLedCount> phase{};
    std::array<std::uint8_t, kMouseLedCount> level{};
    std::array<std::uint8_t, kMouseLedCount> hue{};
};

// Wave across the seven groups. Multicolour: x = S(d, 192, x, 1); the hue starts at x + 1 and
// advances 7 per group (71 when it lies in 185..248, skipping the wheel's repeated part). Single
// colour: x = S(d, 96, x, 1); the wave index starts at x + 1 and advances 7 per group (back 89 when
// it lies in 89..248); intensity bright x wave(i) / 256.
void MouseStepWave(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame);

// The sequence player's travelling wave (step type 4), over the 15 LEDs one by one. Multicolour:
// x = S(d, 192, x, 1) and LED i shows wheel((x + 12 i) mod 192) at bright. Single colour:
// x = S(d, 96, x, 1) and LED i shows the record's colour at bright x wave((x + 12 i) mod 96) / 256.
void MouseStepTravellingWave(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame);

// Flow: a lit spot carried through the key mask (marked into the levels, rotated in the direction)
// and fading per group with the mode's decay; each group at bright x level / 256 in the record's
// colour, or with multicolour in wheel(h), h advancing 12 per group.
void MouseStepFlow(const LightInfoRecord& light, LightAnimation& state, CLightLevels& levels, int mode,
                   CLightFrame& frame);

// Reactive: rising LEDs gain 15 (to 255, then fall), falling LEDs lose 15 (to 0, then idle);
// colour wheel(hue) with multicolour, else the record's colour; intensity bright x level / 256.
void MouseStepReactive(const LightInfoRecord& light, MouseLedState& leds, CLightFrame& frame);

// A button press in the reactive mode: every LED starts rising at level 255 with a random hue 0..191.
void MouseKeyPressed(MouseLedState& leds, std::minstd_rand& random);

}  // namespace zevik

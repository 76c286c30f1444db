#pragma once
// The lighting modes of the LED-strip devices (the mousepad's strip, the headset's ear cups), as
// plain functions over the lighting record, the strip's animation state and the light frame, so the
// lighting thread and the tests run the same code.
//
// The strip: LED 0 stands alone, LEDs 1 to 14 face each other in seven mirrored pairs; pair
// position p (0..6) is the pair (p + 1, 14 - p). A frame shorter than 15 entries (the headset's 13
// LEDs) simply has no entries for the missing LEDs.
//
// Modes: 0 wave, 1 colour cycle, 2 breathing, 3 static, 4 blink, 5 the lighting sequence, 6 a
// travelling light along the strip, 7 the same on the mirrored pairs, 8 off; any other value plays
// the lighting sequence.

#include <array>
#include <cstdint>

#include "devices/lighting_frame.h"
#include "devices/lighting_steps.h"
#include "settings/light_info_record.h"

namespace zevik {

inline constexpr int kStripLedCount = 15;     // the mousepad's strip
inline constexpr int kStripPairCount = 7;
inline constexpr int kStripSeedRingLength = 23;
inline constexpr int kStripPairRingLength = 8;  // mode 7 turns only this much of the seed ring
inline constexpr int kStripMaxLeds = kStripSeedRingLength;

// The two LEDs of pair position p (0..6).
constexpr std::array<int, 2> StripPair(int p) {
    return {p + 1, 2 * kStripPairCount - p};
}

struct StripLightState {
    LightAnimation common;  // x: the counter c; hue: c2 of the breathing; the blink's flag and time
    std::array<std::uint8_t, kStripMaxLeds> level{};  // L, per LED (mode 7: per pair position)
    std::array<std::uint8_t, kStripMaxLeds> hue{};    // the colour each LED keeps in modes 6 and 7
    // The travelling light's pattern: a non-zero entry i lights LED i (mode 7: pair position i) when
    // the light is seeded. Kept across mode changes; it moves on as the light travels.
    std::array<std::uint8_t, kStripSeedRingLength> seedRing{};
    std::uint8_t calls = 0;  // steps of modes 6 and 7: they seed every second step

    // On a mode change: counters, levels, hues and the call counter back to 0 (the ring stays).
    void Reset();
};

enum class StripMode : int { Wave = 0, ColourCycle = 1, Breathing = 2, Static = 3, Blink = 4, Sequence = 5,
                             TravellingLight = 6, MirroredLight = 7, Off = 8 };

// Step period in turns for a speed level (clamped to 0..4): 8, 6, 4, 2, 1, in every mode.
int StripStepPeriod(int speed);

// Runs one step of mode over the whole frame. False for a mode without a step of its own (5 and
// anything outside 0..8): the caller plays the lighting sequence instead.
bool StripStep(int mode, const LightInfoRecord& light, StripLightState& state, CLightFrame& frame,
               std::uint64_t nowMs);

// The single steps (see the mode list above; d is the record's direction, fx).
// Wave: multicolour c = S(d, 192, c, 1), LED i wheel((c + 1 + 7i) mod 192) at bright; otherwise
// c = S(d, 96, c, 1), LED i the record's colour at bright x wave((c + 1 + 7i) mod 96) / 256.
void StripStepWave(const LightInfoRecord& light, StripLightState& state, CLightFrame& frame);
// Travelling light: c = S(d, 192, c, 1); every second step each LED whose ring entry is set gets
// level 255 and the ring turns by one (towards higher positions when d != 0). Each LED decays (group
// 6) and shows bright x L / 256, in the record's colour or, multicolour, in wheel(c + 12 (i + 1)),
// except that the LEDs keep their colours while the head LED (where the ring's lights enter: LED 0
// when d != 0, the last LED when d = 0) is lit.
void StripStepTravellingLight(const LightInfoRecord& light, StripLightState& state, CLightFrame& frame);
// The same on the seven pairs: pair position p takes ring entry p, the ring's first 8 entries turn
// the other way (towards higher positions when d = 0), and both LEDs of a pair show its level. LED 0
// stays dark.
void StripStepMirroredLight(const LightInfoRecord& light, StripLightState& state, CLightFrame& frame);

}  // namespace zevik

#pragma once
// The keyboard engine's animation state: per-key levels, hues, twinkle phases and key states, the
// four key masks (one byte per matrix column, bit r for row r), the counters, and the state of the
// common steps it shares with the other devices.

#include <array>
#include <cstdint>

#include "devices/keyboard_audio_state.h"
#include "devices/lighting_steps.h"
#include "devices/lighting_tables.h"

namespace zevik {

struct KeyboardLightState {
    static constexpr int kKeys = lighting::kLogicalKeyCount;
    static constexpr int kColumns = lighting::kMatrixColumns;
    enum KeyPhase : std::uint8_t { Idle = 0, Rising = 1, Falling = 2 };
    using KeyBytes = std::array<std::uint8_t, kKeys>;
    using Mask = std::array<std::uint8_t, kColumns>;

    KeyBytes level{};    // L
    KeyBytes hue{};      // H, an index into the colour wheel
    KeyBytes twinkle{};  // T, 0..191
    KeyBytes phase{};    // F, a KeyPhase
    KeyBytes pressed{};  // P, 1 while held (ripple)
    Mask a{}, b{}, c{}, d{};
    std::uint8_t counter = 0;    // c
    std::uint8_t counter2 = 0;   // c2
    std::uint8_t showPhase = 0;  // light show and centre ripple phase
    LightAnimation common;       // counter, blink flag and time of the shared steps
    KeyboardAudioState audio;    // the music modes' input

    // On a mode change: counters, levels, hues, key states and masks back to zero; the audio input
    // cleared (its record and colour stay).
    void Reset();
};

}  // namespace zevik

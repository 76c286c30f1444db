#pragma once
// The keyboard's lighting modes 1..30: one animation step each, and the entry step run when a mode
// is entered. Plain functions over the lighting record, the animation state and the key frame, so
// the lighting thread, the benchmark and the tests run the same code.
//
// Record fields used: light (brightness level), speed, fx (direction), multiColor, red, green, blue.

#include <cstdint>
#include <random>

#include "devices/key_light_frame.h"
#include "devices/keyboard_light_state.h"
#include "settings/light_info_record.h"

namespace zevik {

inline constexpr int kKeyboardModeCount = 31;  // modes 0..30

// Whether the mode has a step of its own (0, 19 and values above 30 play the lighting sequence).
bool KeyboardModeHasStep(int mode);
// Step period in ticks of a mode at a speed level: the period table's row (modes 26 and 27 take the
// rows of 5 and 23); the audio styles (29) step once the tick count exceeds 1, every 2 ticks.
int KeyboardStepPeriod(int mode, int speed);
// Whether the step is due after ticks ticks: ticks reached the period.
bool KeyboardStepDue(int mode, int speed, int ticks);

// One step of mode. Returns false, changing nothing, for a mode without a step. nowMs is the clock
// of the blink modes. The music modes 29 and 30 draw the state's audio input (keyboard_audio_steps.h).
bool KeyboardStep(int mode, const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                  std::mt19937& random, std::uint64_t nowMs);

// The entry step after the animation reset: seeds the masks of modes 13 and 16, the twinkle phases
// of modes 15 and 22, and every other mode's hues (H[k] = 33 (k + 1) mod 192). Mode 20's colours
// come from the keyboard (custom colours), not from here.
void KeyboardEntryStep(int mode, KeyboardLightState& state);

// Colour of key k: wheel(H[k]) with multicolour, else the record's colour.
lighting::Rgb KeyColour(const LightInfoRecord& light, const KeyboardLightState& state, int key);
// Writes key k's colour at bright x L[k] / 256.
void RenderKeyLevel(const LightInfoRecord& light, const KeyboardLightState& state, int key,
                    KeyLightFrame& frame);

}  // namespace zevik

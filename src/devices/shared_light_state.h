#pragma once
// SharedLightState: the one effect that every device following synchronised lighting shows, and the
// tables that translate between a device family's lighting modes and that effect. The step computes
// one colour and intensity for all followers from the state and the clock.
//
// Every lookup takes any integer: modes, kinds, speeds and brightness come from profiles and are
// bounded here, never used as raw indexes.

#include <cstdint>
#include <optional>

#include "settings/light_info_record.h"

namespace zevik {

// The shared effect types.
enum class SharedEffect : std::uint8_t { Breathing = 0, Steady = 1, Blink = 2, ColourCycle = 3, Off = 4 };
inline constexpr int kSharedEffectCount = 5;

// The device families in the order the step writes their frames is the caller's; these are the
// columns of the type-to-mode table.
enum class LightFamily { Keyboard, Mouse, Mousepad, Headset };

struct SharedLightState {
    SharedEffect type = SharedEffect::Breathing;
    // Copied from the record that started the synchronisation.
    std::uint8_t brightness = 0;
    std::uint8_t speed = 0;
    std::uint8_t direction = 0;
    std::uint8_t multiColor = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    // Animation, all from 0.
    std::uint8_t breathPosition = 0;  // 0..127
    std::uint32_t breathHue = 0;      // 0..191
    std::uint32_t cycleHue = 0;       // 0..191
    std::uint8_t blinkOn = 0;
    std::uint8_t blinkHue = 0;        // 0..191
    std::uint64_t lastBlinkMs = 0;    // clock time of the last toggle

    // Takes bytes 1..7 of the record (brightness, speed, direction, multicolour, red, green, blue).
    void TakeSettings(const LightInfoRecord& record);
};

// The effect a device of that kind (1 keyboard, 2 mouse, 3 mousepad, 7 headset) shows in that mode.
// Nothing when the kind has the mode outside its row: synchronisation does not start. For a kind
// without a row the result is `previous`, the effect set last.
std::optional<SharedEffect> SharedEffectOfMode(int deviceKind, int mode, SharedEffect previous);

// The mode each family is given to show an effect.
std::uint8_t FamilyModeOfEffect(LightFamily family, SharedEffect effect);

// Ticks between two steps: 8, 6, 4, 2, 1 for speed levels 0..4 and 0 (every turn) for 5..14, for
// every effect; speeds outside 0..14 are clamped. The blink reads the same value in 200 ms units.
int SharedStepPeriod(int speed);

// One step of the shared effect at clock time nowMs: advances the animation and returns the frame
// entry every follower shows (bytes red, green, blue, intensity).
std::uint32_t SharedLightStep(SharedLightState& state, std::uint64_t nowMs);

}  // namespace zevik

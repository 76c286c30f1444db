#pragma once
// The lighting tables and building blocks shared by every device's lighting: brightness levels, the
// colour wheel, the four fixed colours, the breathing, wave and twinkle curves, the step and blink
// periods, the keyboard's key matrix, the counter step and the level decay.
//
// Every lookup takes any integer: values that come from a profile file or from a device are bounded
// here (clamped or wrapped as each function says), never used as a raw index.

#include <array>
#include <cstdint>

namespace zevik::lighting {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr int kBrightnessLevels = 5;  // levels 0..4
inline constexpr int kSpeedLevels = 5;       // levels 0..4
inline constexpr int kWheelCycle = 192;      // distinct colours of the wheel; entries 192..255 repeat 0..63
inline constexpr int kBreathingLength = 128;
inline constexpr int kWaveLength = 96;
inline constexpr int kTwinkleLength = 192;
inline constexpr int kFixedColourCount = 4;
inline constexpr std::uint32_t kBlinkUnitMs = 200;  // blink periods are counted in these

// Intensity of a brightness level: 0, 80, 135, 195, 255. Levels outside 0..4 are clamped.
std::uint8_t Brightness(int level);

// The colour wheel; every byte is a valid index (the value is taken modulo 256).
Rgb Wheel(int index);

// Fixed colours (0, 255, 180), (0, 255, 0), (255, 255, 255), (255, 0, 0); the index is taken modulo 4.
Rgb FixedColour(int index);

// Curves; the index wraps around the curve's length.
std::uint8_t Breathing(int index);
std::uint8_t Wave(int index);
std::uint8_t Twinkle(int index);

// Step period in ticks of a keyboard lighting mode at a speed level (speed clamped to 0..4):
// 8, 5, 3, 1, 0 for every mode but 2 (12, 8, 5, 0, 0) and 17 and 19 (3, 3, 3, 3, 0).
int StepPeriod(int mode, int speed);

// A speed level bounded to 0..4.
int ClampedSpeedLevel(int speed);

// Blink period in units of 200 ms at a speed level (clamped to 0..4): 8, 6, 4, 2, 1.
int BlinkPeriod(int speed);
// The same in milliseconds.
std::uint32_t BlinkPeriodMs(int speed);

// The counter step S(d, n, x, s): with d non-zero x + s, or 0 when that reaches n; with d zero x - s,
// or n - s when that falls below 0. Results are bytes.
std::uint8_t CounterStep(int direction, int n, int x, int s);

// One decay step of a level in a mode group (0, 29, or any other group).
std::uint8_t DecayStep(std::uint8_t level, int group);

// The keyboard's key matrix: 23 columns of 6 rows of logical keys, kNoKey where there is none.
inline constexpr int kMatrixColumns = 23;
inline constexpr int kMatrixRows = 6;
inline constexpr int kLogicalKeyCount = 170;
inline constexpr std::uint8_t kNoKey = 170;
using KeyMatrix = std::array<std::array<std::uint8_t, kMatrixRows>, kMatrixColumns>;
const KeyMatrix& KeyMatrixTable();
// The key at (column, row), kNoKey outside the grid.
std::uint8_t MatrixKey(int column, int row);

// A light frame entry: bytes red, green, blue, intensity from the lowest byte up.
constexpr std::uint32_t PackLightEntry(std::uint8_t r, std::uint8_t g, std::uint8_t b,
                                       std::uint8_t intensity) {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
           (static_cast<std::uint32_t>(b) << 16) | (static_cast<std::uint32_t>(intensity) << 24);
}
constexpr std::uint32_t PackLightEntry(Rgb colour, std::uint8_t intensity) {
    return PackLightEntry(colour.r, colour.g, colour.b, intensity);
}
constexpr Rgb EntryColour(std::uint32_t entry) {
    return Rgb{static_cast<std::uint8_t>(entry & 0xFF), static_cast<std::uint8_t>((entry >> 8) & 0xFF),
               static_cast<std::uint8_t>((entry >> 16) & 0xFF)};
}
constexpr std::uint8_t EntryIntensity(std::uint32_t entry) {
    return static_cast<std::uint8_t>(entry >> 24);
}

// value x scale / 256, the way every curve and level scales a brightness.
constexpr std::uint8_t Scale256(int value, int scale) {
    return static_cast<std::uint8_t>((value * scale) / 256);
}

}  // namespace zevik::lighting

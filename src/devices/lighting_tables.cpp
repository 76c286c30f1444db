#include "devices/lighting_tables.h"

#include <algorithm>

namespace zevik::lighting {
namespace {

constexpr std::array<std::uint8_t, kBrightnessLevels> kBrightness{0, 80, 135, 195, 255};

// The 32 values a channel takes while it rises or falls through one wheel segment.
constexpr std::array<std::uint8_t, 32> kRising{1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                               44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                               140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<std::uint8_t, 32> kFalling{248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                                114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                                29,  24,  20,  16,  12,  8,   6,   4,   2,   0};

constexpr std::array<Rgb, 256> MakeWheel() {
    std::array<Rgb, 256> wheel{};
    for (int i = 0; i < 32; ++i) {
        const auto idx = static_cast<size_t>(i);
        wheel[idx] = {255, kRising[idx], 0};         // red to yellow
        wheel[idx + 32] = {kFalling[idx], 255, 0};   // yellow to green
        wheel[idx + 64] = {0, 255, kRising[idx]};    // green to cyan
        wheel[idx + 96] = {0, kFalling[idx], 255};   // cyan to blue
        wheel[idx + 128] = {kRising[idx], 0, 255};   // blue to magenta
        wheel[idx + 160] = {255, 0, kFalling[idx]};  // magenta to red
    }
    for (size_t i = kWheelCycle; i < 256; ++i) {
        wheel[i] = wheel[i - kWheelCycle];
    }
    return wheel;
}
constexpr std::array<Rgb, 256> kWheel = MakeWheel();
static_assert(kWheel[0] == Rgb{255, 1, 0});
static_assert(kWheel[191] == Rgb{255, 0, 0});

constexpr std::array<Rgb, kFixedColourCount> kFixed{
    {{0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0}}};

// The rising half of the breathing curve; the falling half mirrors it.
constexpr std::array<std::uint8_t, 64> kBreathingRise{
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<std::uint8_t, kBreathingLength> MakeBreathing() {
    std::array<std::uint8_t, kBreathingLength> curve{};
    for (size_t i = 0; i < 64; ++i) {
        curve[i] = kBreathingRise[i];
        curve[127 - i] = kBreathingRise[i];
    }
    return curve;
}
constexpr auto kBreathingCurve = MakeBreathing();

// Breathing entries 16..63, then the same 48 values in reverse.
constexpr std::array<std::uint8_t, kWaveLength> MakeWave() {
    std::array<std::uint8_t, kWaveLength> curve{};
    for (size_t i = 0; i < 48; ++i) {
        curve[i] = kBreathingRise[16 + i];
        curve[95 - i] = kBreathingRise[16 + i];
    }
    return curve;
}
constexpr auto kWaveCurve = MakeWave();
static_assert(kWaveCurve[0] == 22 && kWaveCurve[47] == 255 && kWaveCurve[48] == 255 && kWaveCurve[95] == 22);

constexpr std::uint8_t kTwinkleHead[] = {
    0,   4,   8,   14,  22,  33,  45,  61,  77,  84,  100, 110, 120, 130, 140, 150, 158, 166,
    175, 182, 191, 204, 220, 234, 255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182,
    176, 170, 164, 158, 152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,
    81,  77,  73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
    20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1,   0};
static_assert(sizeof(kTwinkleHead) <= kTwinkleLength);

constexpr std::array<std::uint8_t, kTwinkleLength> MakeTwinkle() {
    std::array<std::uint8_t, kTwinkleLength> curve{};  // zero after the listed head
    for (size_t i = 0; i < sizeof(kTwinkleHead); ++i) {
        curve[i] = kTwinkleHead[i];
    }
    return curve;
}
constexpr auto kTwinkleCurve = MakeTwinkle();

constexpr std::array<int, kSpeedLevels> kDefaultPeriods{8, 5, 3, 1, 0};
constexpr std::array<int, kSpeedLevels> kMode2Periods{12, 8, 5, 0, 0};
constexpr std::array<int, kSpeedLevels> kMode17Periods{3, 3, 3, 3, 0};
constexpr std::array<int, kSpeedLevels> kBlinkPeriods{8, 6, 4, 2, 1};

constexpr KeyMatrix kKeyMatrix{{
    {170, 120, 121, 122, 123, 124}, {170, 21, 42, 63, 84, 105},   {0, 22, 43, 64, 102, 106},
    {1, 23, 44, 65, 85, 20},        {2, 24, 45, 66, 86, 107},     {3, 25, 46, 67, 87, 126},
    {4, 26, 47, 68, 88, 127},       {18, 27, 48, 69, 89, 108},    {5, 28, 49, 70, 90, 128},
    {6, 29, 50, 71, 91, 129},       {7, 30, 51, 72, 92, 109},     {8, 31, 52, 73, 93, 125},
    {9, 32, 53, 74, 94, 110},       {10, 33, 54, 62, 100, 111},   {11, 34, 55, 75, 19, 130},
    {12, 101, 103, 79, 95, 112},    {13, 35, 56, 82, 80, 113},    {14, 36, 57, 83, 96, 114},
    {15, 37, 58, 17, 81, 115},      {170, 38, 59, 76, 97, 116},   {170, 39, 60, 77, 98, 104},
    {170, 40, 61, 78, 99, 117},     {170, 41, 16, 119, 118, 131},
}};

size_t ClampedSpeed(int speed) {
    return static_cast<size_t>(std::clamp(speed, 0, kSpeedLevels - 1));
}

size_t Wrap(int index, int length) {
    const int r = index % length;
    return static_cast<size_t>(r < 0 ? r + length : r);
}

}  // namespace

std::uint8_t Brightness(int level) {
    return kBrightness[static_cast<size_t>(std::clamp(level, 0, kBrightnessLevels - 1))];
}

Rgb Wheel(int index) {
    return kWheel[Wrap(index, 256)];
}

Rgb FixedColour(int index) {
    return kFixed[Wrap(index, kFixedColourCount)];
}

std::uint8_t Breathing(int index) {
    return kBreathingCurve[Wrap(index, kBreathingLength)];
}
std::uint8_t Wave(int index) {
    return kWaveCurve[Wrap(index, kWaveLength)];
}
std::uint8_t Twinkle(int index) {
    return kTwinkleCurve[Wrap(index, kTwinkleLength)];
}

int StepPeriod(int mode, int speed) {
    const size_t s = ClampedSpeed(speed);
    if (mode == 2) {
        return kMode2Periods[s];
    }
    if (mode == 17 || mode == 19) {
        return kMode17Periods[s];
    }
    return kDefaultPeriods[s];
}

int ClampedSpeedLevel(int speed) {
    return static_cast<int>(ClampedSpeed(speed));
}

int BlinkPeriod(int speed) {
    return kBlinkPeriods[ClampedSpeed(speed)];
}

std::uint32_t BlinkPeriodMs(int speed) {
    return static_cast<std::uint32_t>(BlinkPeriod(speed)) * kBlinkUnitMs;
}

std::uint8_t CounterStep(int direction, int n, int x, int s) {
    if (direction != 0) {
        const int next = x + s;
        return next >= n ? 0 : static_cast<std::uint8_t>(next);
    }
    const int next = x - s;
    return static_cast<std::uint8_t>(next < 0 ? n - s : next);
}

std::uint8_t DecayStep(std::uint8_t level, int group) {
    const int l = level;
    int drop = 0;
    if (group == 29) {
        if (l >= 144)
            drop = 45;
        else if (l >= 128)
            drop = 40;
        else if (l >= 112)
            drop = 35;
        else if (l >= 96)
            drop = 30;
        else if (l >= 80)
            drop = 25;
        else if (l >= 64)
            drop = 20;
        else if (l >= 32)
            drop = 10;
        else if (l > 16)
            drop = 5;
        else if (l > 0)
            drop = 1;
    } else {
        if (l >= 128)
            drop = 40;
        else if (l >= 64)
            drop = 30;
        else if (l >= 32)
            drop = group == 0 ? 15 : 10;
        else if (l > 16)
            drop = 8;
        else if (l > 0)
            drop = 1;
    }
    return static_cast<std::uint8_t>(l - drop);
}

const KeyMatrix& KeyMatrixTable() {
    return kKeyMatrix;
}

std::uint8_t MatrixKey(int column, int row) {
    if (column < 0 || column >= kMatrixColumns || row < 0 || row >= kMatrixRows) {
        return kNoKey;
    }
    return kKeyMatrix[static_cast<size_t>(column)][static_cast<size_t>(row)];
}

}  // namespace zevik::lighting

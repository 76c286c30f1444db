#include "devices/shared_light_state.h"

#include <algorithm>
#include <array>

#include "devices/lighting_tables.h"
#include "devices/orbantix_usb_device.h"

namespace zevik {

namespace {

constexpr int kBreathSpan = lighting::kBreathingLength;
constexpr int kHueCycle = lighting::kWheelCycle;
constexpr int kBreathHueStride = 16;
constexpr int kBlinkHueStride = 14;
constexpr int kMaxSpeedColumn = 14;
constexpr std::array<int, 5> kPeriodTicks = {8, 6, 4, 2, 1};

// Rows: effect type; columns: keyboards, mice, mousepads, headsets.
constexpr std::array<std::array<std::uint8_t, 4>, kSharedEffectCount> kFamilyModes = {{
    {5, 2, 2, 2},
    {6, 3, 3, 3},
    {23, 4, 4, 4},
    {4, 1, 1, 1},
    {28, 10, 8, 8},
}};

struct ModeEffect {
    int mode;
    SharedEffect effect;
};
constexpr std::array<ModeEffect, 5> kKeyboardModes = {{{5, SharedEffect::Breathing},
                                                       {6, SharedEffect::Steady},
                                                       {23, SharedEffect::Blink},
                                                       {4, SharedEffect::ColourCycle},
                                                       {28, SharedEffect::Off}}};
constexpr std::array<ModeEffect, 5> kMouseModes = {{{2, SharedEffect::Breathing},
                                                    {3, SharedEffect::Steady},
                                                    {4, SharedEffect::Blink},
                                                    {1, SharedEffect::ColourCycle},
                                                    {10, SharedEffect::Off}}};
constexpr std::array<ModeEffect, 5> kPadAndHeadsetModes = {{{2, SharedEffect::Breathing},
                                                            {3, SharedEffect::Steady},
                                                            {4, SharedEffect::Blink},
                                                            {1, SharedEffect::ColourCycle},
                                                            {8, SharedEffect::Off}}};

std::optional<SharedEffect> Lookup(const std::array<ModeEffect, 5>& row, int mode) {
    for (const ModeEffect& e : row) {
        if (e.mode == mode) return e.effect;
    }
    return std::nullopt;
}

}  // namespace

void SharedLightState::TakeSettings(const LightInfoRecord& record) {
    brightness = record.light;
    speed = record.speed;
    direction = record.fx;
    multiColor = record.multiColor;
    red = record.red;
    green = record.green;
    blue = record.blue;
}

std::optional<SharedEffect> SharedEffectOfMode(int deviceKind, int mode, SharedEffect previous) {
    switch (deviceKind) {
        case kDeviceKindKeyboard:
            return Lookup(kKeyboardModes, mode);
        case kDeviceKindMouse:
            return Lookup(kMouseModes, mode);
        case kDeviceKindMousepad:
        case kDeviceKindHeadset:
            return Lookup(kPadAndHeadsetModes, mode);
        default:
            return previous;
    }
}

std::uint8_t FamilyModeOfEffect(LightFamily family, SharedEffect effect) {
    const auto row = std::min<std::size_t>(static_cast<std::size_t>(effect), kSharedEffectCount - 1);
    return kFamilyModes[row][static_cast<std::size_t>(family)];
}

int SharedStepPeriod(int speed) {
    const int column = std::clamp(speed, 0, kMaxSpeedColumn);
    return column < static_cast<int>(kPeriodTicks.size()) ? kPeriodTicks[static_cast<std::size_t>(column)] : 0;
}

std::uint32_t SharedLightStep(SharedLightState& s, std::uint64_t nowMs) {
    const std::uint8_t bright = lighting::Brightness(s.brightness);
    const lighting::Rgb own{s.red, s.green, s.blue};
    switch (s.type) {
        case SharedEffect::Breathing: {
            s.breathPosition = lighting::CounterStep(s.direction, kBreathSpan, s.breathPosition % kBreathSpan, 1);
            lighting::Rgb colour = own;
            if (s.multiColor != 0) {
                if (s.breathPosition <= 1) {
                    s.breathHue = lighting::CounterStep(1, kHueCycle, static_cast<int>(s.breathHue % kHueCycle),
                                                        kBreathHueStride);
                }
                colour = lighting::Wheel(static_cast<int>(s.breathHue));
            }
            return lighting::PackLightEntry(colour, lighting::Scale256(bright, lighting::Breathing(s.breathPosition)));
        }
        case SharedEffect::Steady:
            return lighting::PackLightEntry(own, bright);
        case SharedEffect::Blink: {
            const std::uint64_t period = static_cast<std::uint64_t>(SharedStepPeriod(s.speed)) * lighting::kBlinkUnitMs;
            if (nowMs - s.lastBlinkMs >= period) {
                s.blinkOn = s.blinkOn != 0 ? 0 : 1;
                s.lastBlinkMs = nowMs;
                const int hue = s.blinkHue + kBlinkHueStride;
                s.blinkHue = static_cast<std::uint8_t>(hue >= kHueCycle ? 0 : hue);
            }
            if (s.blinkOn == 0) return 0;
            return lighting::PackLightEntry(s.multiColor != 0 ? lighting::Wheel(s.blinkHue) : own, bright);
        }
        case SharedEffect::ColourCycle:
            s.cycleHue = lighting::CounterStep(1, kHueCycle, static_cast<int>(s.cycleHue % kHueCycle), 1);
            return lighting::PackLightEntry(lighting::Wheel(static_cast<int>(s.cycleHue)), bright);
        case SharedEffect::Off:
        default:
            return 0;
    }
}

}  // namespace zevik

#include "devices/mouse_lighting.h"

#include <algorithm>

#include "devices/lighting_tables.h"

namespace zevik {

namespace {

constexpr std::array<int, 5> kPeriods = {8, 6, 4, 2, 1};
constexpr std::array<int, 5> kFlowPeriods = {16, 12, 8, 4, 2};
constexpr int kModeFlow = 5;

void LightGroup(CLightFrame& frame, int group, std::uint32_t entry) {
    for (int led : kMouseLedGroupTable[static_cast<size_t>(group)]) {
        if (led != kMouseNoLed) frame.Set(led, entry);
    }
}

lighting::Rgb RecordColour(const LightInfoRecord& light) {
    return {light.red, light.green, light.blue};
}

}  // namespace

MouseLightStep MouseStepForMode(int mode) {
    switch (mode) {
        case 0:
            return MouseLightStep::Wave;
        case 1:
            return MouseLightStep::Spectrum;
        case 2:
            return MouseLightStep::Breathe;
        case 3:
            return MouseLightStep::Steady;
        case 4:
            return MouseLightStep::Blink;
        case 5:
            return MouseLightStep::Flow;
        case 6:
            return MouseLightStep::Reactive;
        case 7:
            return MouseLightStep::BreatheFourColours;
        case 8:
            return MouseLightStep::BlinkFourColours;
        case 10:
            return MouseLightStep::Off;
        default:
            return mode < 0 ? MouseLightStep::Off : MouseLightStep::Sequence;
    }
}

int MouseStepPeriod(int mode, int speed) {
    const auto level = static_cast<size_t>(std::clamp(speed, 0, 4));
    return mode == kModeFlow ? kFlowPeriods[level] : kPeriods[level];
}

void MouseStepWave(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame) {
    const std::uint8_t bright = lighting::Brightness(light.light);
    if (light.multiColor != 0) {
        state.x = lighting::CounterStep(light.fx, 192, state.x, 1);
        std::uint8_t h = state.x == 191 ? 0 : static_cast<std::uint8_t>(state.x + 1);
        for (int g = 0; g < kMouseLedGroups; ++g) {
            LightGroup(frame, g, lighting::PackLightEntry(lighting::Wheel(h), bright));
            h = static_cast<std::uint8_t>(h + ((h >= 185 && h <= 248) ? 71 : 7));
        }
    } else {
        state.x = lighting::CounterStep(light.fx, 96, state.x, 1);
        std::uint8_t i = state.x == 95 ? 0 : static_cast<std::uint8_t>(state.x + 1);
        for (int g = 0; g < kMouseLedGroups; ++g) {
            LightGroup(
                frame, g,
                lighting::PackLightEntry(RecordColour(light), lighting::Scale256(bright, lighting::Wave(i))));
            i = (i >= 89 && i <= 248) ? static_cast<std::uint8_t>(i - 89) : static_cast<std::uint8_t>(i + 7);
        }
    }
}

void MouseStepTravellingWave(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame) {
    StepTravellingWave(light, state, frame, kMouseLedCount);
}

void MouseStepFlow(const LightInfoRecord& light, LightAnimation& state, CLightLevels& levels, int mode,
                   CLightFrame& frame) {
    bool marked = false;
    for (int i = 0; i < CLightLevels::kMaskLength; ++i) marked = marked || levels.MaskByte(i) != 0;
    if (!marked) levels.SetMaskByte(light.fx != 0 ? 0 : kMouseLedGroups - 1, 1);  // seed the spot
    levels.MarkRowKeys();
    levels.RotateMask(light.fx);
    const std::uint8_t bright = lighting::Brightness(light.light);
    int h = state.hue;
    for (int g = 0; g < kMouseLedGroups; ++g) {
        levels.DecayLevel(g, mode);
        const std::uint8_t intensity = lighting::Scale256(bright, levels.Level(g));
        const lighting::Rgb colour = light.multiColor != 0 ? lighting::Wheel(h) : RecordColour(light);
        LightGroup(frame, g, lighting::PackLightEntry(colour, intensity));
        h = (h + 12) % lighting::kWheelCycle;
    }
    state.hue = static_cast<std::uint8_t>((state.hue + 1) % lighting::kWheelCycle);
}

void MouseStepReactive(const LightInfoRecord& light, MouseLedState& leds, CLightFrame& frame) {
    const std::uint8_t bright = lighting::Brightness(light.light);
    for (size_t i = 0; i < kMouseLedCount; ++i) {
        std::uint8_t& level = leds.level[i];
        if (leds.phase[i] == MouseLedState::Rising) {
            level = static_cast<std::uint8_t>(std::min(255, level + 15));
            if (level == 255) leds.phase[i] = MouseLedState::Falling;
        } else if (leds.phase[i] == MouseLedState::Falling) {
            level = static_cast<std::uint8_t>(std::max(0, level - 15));
            if (level == 0) leds.phase[i] = MouseLedState::Idle;
        }
        const lighting::Rgb colour =
            light.multiColor != 0 ? lighting::Wheel(leds.hue[i]) : RecordColour(light);
        frame.Set(static_cast<int>(i), lighting::PackLightEntry(colour, lighting::Scale256(bright, level)));
    }
}

void MouseKeyPressed(MouseLedState& leds, std::minstd_rand& random) {
    std::uniform_int_distribution<int> hue(0, lighting::kWheelCycle - 1);
    for (size_t i = 0; i < kMouseLedCount; ++i) {
        leds.phase[i] = MouseLedState::Rising;
        leds.level[i] = 255;
        leds.hue[i] = static_cast<std::uint8_t>(hue(random));
    }
}

}  // namespace zevik

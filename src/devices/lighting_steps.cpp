#include "devices/lighting_steps.h"

#include "devices/lighting_tables.h"

namespace zevik {
namespace {

using lighting::Rgb;

constexpr int kBreathSpan = lighting::kBreathingLength;
constexpr int kHueStride = 16;
constexpr int kBreathHueLimit = 192;  // the breathing hue returns to 0 above this
constexpr int kFourColours = lighting::kFixedColourCount;

Rgb RecordColour(const LightInfoRecord& light) {
    return Rgb{light.red, light.green, light.blue};
}

std::uint8_t Bright(const LightInfoRecord& light) {
    return lighting::Brightness(light.light);
}

void FillFrame(CLightFrame& frame, Rgb colour, std::uint8_t intensity) {
    frame.Fill(lighting::PackLightEntry(colour, intensity));
}

std::uint8_t NextFourColourIndex(std::uint8_t index) {
    return static_cast<std::uint8_t>(index + 1 >= kFourColours ? 0 : index + 1);
}

// Returns true when the blink flag toggled in this step.
bool BlinkToggle(const LightInfoRecord& light, LightAnimation& state, std::uint64_t nowMs) {
    const std::uint64_t period = lighting::BlinkPeriodMs(light.speed);
    if (state.toggled && nowMs - state.toggleMs < period) {
        return false;
    }
    state.toggled = true;
    state.on = state.on != 0 ? 0 : 1;
    state.toggleMs = nowMs;
    return true;
}

}  // namespace

void StepBreathe(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame) {
    state.x = lighting::CounterStep(light.fx, kBreathSpan, state.x, 1);
    if (state.x == 0) {
        const int hue = state.hue + kHueStride;
        state.hue = static_cast<std::uint8_t>(hue > kBreathHueLimit ? 0 : hue);
    }
    const Rgb colour = light.multiColor != 0 ? lighting::Wheel(state.hue) : RecordColour(light);
    FillFrame(frame, colour, lighting::Scale256(lighting::Breathing(state.x), Bright(light)));
}

void StepBreatheFourColours(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame) {
    state.x = lighting::CounterStep(light.fx, kBreathSpan, state.x, 1);
    if (state.x == 0) {
        state.hue = NextFourColourIndex(state.hue);
    }
    FillFrame(frame, lighting::FixedColour(state.hue),
              lighting::Scale256(lighting::Breathing(state.x), Bright(light)));
}

void StepSteady(const LightInfoRecord& light, LightAnimation& /*state*/, CLightFrame& frame) {
    FillFrame(frame, RecordColour(light), Bright(light));
}

void StepSpectrum(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame) {
    state.x = lighting::CounterStep(light.fx, lighting::kWheelCycle, state.x, 1);
    FillFrame(frame, lighting::Wheel(state.x), Bright(light));
}

void StepBlink(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame, std::uint64_t nowMs) {
    if (BlinkToggle(light, state, nowMs)) {
        const int x = state.x + kHueStride;
        state.x = static_cast<std::uint8_t>(x >= lighting::kWheelCycle ? 0 : x);
    }
    if (state.on == 0) {
        frame.Fill(0);
        return;
    }
    const Rgb colour = light.multiColor != 0 ? lighting::Wheel(state.x) : RecordColour(light);
    FillFrame(frame, colour, Bright(light));
}

void StepBlinkFourColours(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame,
                          std::uint64_t nowMs) {
    if (BlinkToggle(light, state, nowMs)) {
        state.hue = NextFourColourIndex(state.hue);
    }
    if (state.on == 0) {
        frame.Fill(0);
        return;
    }
    FillFrame(frame, lighting::FixedColour(state.hue), Bright(light));
}

void StepTravellingWave(const LightInfoRecord& light, LightAnimation& state, CLightFrame& frame, int count) {
    constexpr int kHueStepPerEntry = 12;
    const std::uint8_t bright = Bright(light);
    const bool multi = light.multiColor != 0;
    const int length = multi ? lighting::kWheelCycle : lighting::kWaveLength;
    state.x = lighting::CounterStep(light.fx, length, state.x, 1);
    for (int i = 0; i < count; ++i) {
        const int at = (state.x + kHueStepPerEntry * i) % length;
        frame.Set(i, multi ? lighting::PackLightEntry(lighting::Wheel(at), bright)
                           : lighting::PackLightEntry(RecordColour(light), lighting::Scale256(bright, lighting::Wave(at))));
    }
}

void StepOff(const LightInfoRecord& /*light*/, LightAnimation& /*state*/, CLightFrame& frame) {
    frame.Fill(0);
}

}  // namespace zevik

#include "devices/strip_lighting_steps.h"

#include <algorithm>

#include "devices/lighting_tables.h"

namespace zevik {

namespace {

using lighting::Rgb;

constexpr int kWaveStride = 7;   // wheel or wave positions between neighbouring LEDs
constexpr int kHueStride = 12;   // wheel positions between neighbouring LEDs of the travelling light
constexpr int kDecayGroup = 6;
constexpr std::uint8_t kLit = 255;

Rgb RecordColour(const LightInfoRecord& light) {
    return Rgb{light.red, light.green, light.blue};
}

int LedCount(const CLightFrame& frame) {
    return std::min(frame.Size(), kStripMaxLeds);
}

// Turns the first length entries of the ring by one: towards higher positions (the last entry comes
// back at 0) or towards lower ones.
void TurnRing(std::array<std::uint8_t, kStripSeedRingLength>& ring, int length, bool upwards) {
    const auto first = ring.begin();
    const auto last = ring.begin() + length;
    if (upwards)
        std::rotate(first, last - 1, last);
    else
        std::rotate(first, first + 1, last);
}

// The shared part of both travelling lights: seeding every second step, then per position decay and
// colour. Returns the packed entry of each of count positions through paint(position, entry).
template <class Paint>
void TravellingLight(const LightInfoRecord& light, StripLightState& state, int count, int ringLength,
                     bool ringUpwards, Paint&& paint) {
    state.common.x = lighting::CounterStep(light.fx, lighting::kWheelCycle, state.common.x, 1);
    const bool seed = state.calls % 2 == 0;
    state.calls = static_cast<std::uint8_t>(state.calls + 1);
    if (seed) {
        for (int i = 0; i < count && i < ringLength; ++i) {
            if (state.seedRing[static_cast<size_t>(i)] != 0) state.level[static_cast<size_t>(i)] = kLit;
        }
        TurnRing(state.seedRing, ringLength, ringUpwards);
    }
    if (count <= 0) return;
    // The lights enter the strip where the ring wraps round.
    const int head = ringUpwards ? 0 : count - 1;
    const bool holdColours = state.level[static_cast<size_t>(head)] != 0;
    const std::uint8_t bright = lighting::Brightness(light.light);
    int hue = state.common.x;
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<size_t>(i);
        state.level[at] = lighting::DecayStep(state.level[at], kDecayGroup);
        hue = (hue + kHueStride) % lighting::kWheelCycle;
        if (!holdColours) state.hue[at] = static_cast<std::uint8_t>(hue);
        const Rgb colour = light.multiColor != 0 ? lighting::Wheel(state.hue[at]) : RecordColour(light);
        paint(i, lighting::PackLightEntry(colour, lighting::Scale256(bright, state.level[at])));
    }
}

}  // namespace

void StripLightState::Reset() {
    common = LightAnimation{};
    level.fill(0);
    hue.fill(0);
    calls = 0;
}

int StripStepPeriod(int speed) {
    static constexpr std::array<int, lighting::kSpeedLevels> kTurns{8, 6, 4, 2, 1};
    return kTurns[static_cast<size_t>(lighting::ClampedSpeedLevel(speed))];
}

void StripStepWave(const LightInfoRecord& light, StripLightState& state, CLightFrame& frame) {
    const std::uint8_t bright = lighting::Brightness(light.light);
    const bool multi = light.multiColor != 0;
    const int length = multi ? lighting::kWheelCycle : lighting::kWaveLength;
    std::uint8_t& c = state.common.x;
    c = lighting::CounterStep(light.fx, length, c, 1);
    for (int i = 0; i < frame.Size(); ++i) {
        const int at = (c + 1 + kWaveStride * i) % length;
        frame.Set(i, multi ? lighting::PackLightEntry(lighting::Wheel(at), bright)
                           : lighting::PackLightEntry(RecordColour(light), lighting::Scale256(bright, lighting::Wave(at))));
    }
}

void StripStepTravellingLight(const LightInfoRecord& light, StripLightState& state, CLightFrame& frame) {
    TravellingLight(light, state, LedCount(frame), kStripSeedRingLength, light.fx != 0,
                    [&frame](int led, std::uint32_t entry) { frame.Set(led, entry); });
}

void StripStepMirroredLight(const LightInfoRecord& light, StripLightState& state, CLightFrame& frame) {
    frame.Set(0, 0);
    TravellingLight(light, state, kStripPairCount, kStripPairRingLength, light.fx == 0,
                    [&frame](int p, std::uint32_t entry) {
                        for (const int led : StripPair(p)) frame.Set(led, entry);
                    });
}

bool StripStep(int mode, const LightInfoRecord& light, StripLightState& state, CLightFrame& frame,
               std::uint64_t nowMs) {
    switch (static_cast<StripMode>(mode)) {
        case StripMode::Wave:
            StripStepWave(light, state, frame);
            return true;
        case StripMode::ColourCycle:
            StepSpectrum(light, state.common, frame);
            return true;
        case StripMode::Breathing:
            StepBreathe(light, state.common, frame);
            return true;
        case StripMode::Static:
            StepSteady(light, state.common, frame);
            return true;
        case StripMode::Blink:
            StepBlink(light, state.common, frame, nowMs);
            return true;
        case StripMode::TravellingLight:
            StripStepTravellingLight(light, state, frame);
            return true;
        case StripMode::MirroredLight:
            StripStepMirroredLight(light, state, frame);
            return true;
        case StripMode::Off:
            StepOff(light, state.common, frame);
            return true;
        default:
            return false;
    }
}

}  // namespace zevik

#include "devices/keyboard_lighting_steps.h"

#include <algorithm>
#include <cstddef>

#include "devices/keyboard_audio_steps.h"
#include "devices/keyboard_light_layout.h"
#include "devices/keyboard_light_masks.h"

namespace zevik {
namespace {

using lighting::Brightness;
using lighting::CounterStep;
using lighting::kLogicalKeyCount;
using lighting::kMatrixColumns;
using lighting::kMatrixRows;
using lighting::kNoKey;
using lighting::kWheelCycle;
using lighting::MatrixKey;
using lighting::PackLightEntry;
using lighting::Rgb;
using lighting::Scale256;
using lighting::Wheel;
namespace layout = keyboard_layout;

Rgb RecordColour(const LightInfoRecord& light) {
    return Rgb{light.red, light.green, light.blue};
}
std::uint8_t Bright(const LightInfoRecord& light) {
    return Brightness(light.light);
}
std::uint8_t RandomHue(std::mt19937& random) {
    return static_cast<std::uint8_t>(random() % kWheelCycle);
}

void SetColumn(KeyLightFrame& frame, int column, std::uint32_t entry) {
    for (int r = 0; r < kMatrixRows; ++r) {
        const std::uint8_t key = MatrixKey(column, r);
        if (key != kNoKey) frame.Set(key, entry);
    }
}

void SetAll(KeyLightFrame& frame, std::uint32_t entry) {
    for (int k = 0; k < kLogicalKeyCount; ++k) frame.Set(k, entry);
}

void DecayAndRenderAll(const LightInfoRecord& light, KeyboardLightState& state, int group,
                       KeyLightFrame& frame) {
    for (int k = 0; k < kLogicalKeyCount; ++k) {
        state.level[k] = lighting::DecayStep(state.level[k], group);
        RenderKeyLevel(light, state, k, frame);
    }
}

// Modes 1 and 2: colour or curve per column.
void StepColumnWave(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    const std::uint8_t bright = Bright(light);
    if (light.multiColor) {
        state.counter = CounterStep(light.fx, 192, state.counter, 1);
        for (int j = 0; j < kMatrixColumns; ++j)
            SetColumn(frame, j, PackLightEntry(Wheel((state.counter + 1 + 7 * j) % 192), bright));
        return;
    }
    state.counter = CounterStep(light.fx, 96, state.counter, 1);
    for (int j = 0; j < kMatrixColumns; ++j)
        SetColumn(frame, j,
                  PackLightEntry(RecordColour(light),
                                 Scale256(bright, lighting::Wave((state.counter + 1 + 7 * j) % 96))));
}

void StepColumnTwinkle(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    const std::uint8_t bright = Bright(light);
    if (light.multiColor) {
        state.counter = CounterStep(light.fx, 192, state.counter, 1);
        for (int j = 0; j < kMatrixColumns; ++j)
            SetColumn(frame, j, PackLightEntry(Wheel((state.counter + 2 * j) % 192), bright));
        return;
    }
    state.counter = CounterStep(light.fx, 128, state.counter, 1);
    for (int j = 0; j < kMatrixColumns; ++j)
        SetColumn(frame, j,
                  PackLightEntry(RecordColour(light),
                                 Scale256(bright, lighting::Twinkle((state.counter + 7 * j) % 128))));
}

void StepSweep(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    const std::uint8_t bright = Bright(light);
    const auto& sweep = layout::SweepOrder();
    const int length = light.multiColor ? 192 : 96;
    state.counter = CounterStep(light.fx, length, state.counter, 1);
    int x = state.counter;
    for (int i = 0; i < layout::kSweepUsed; ++i) {
        const std::uint32_t entry =
            light.multiColor ? PackLightEntry(Wheel(x), bright)
                             : PackLightEntry(RecordColour(light), Scale256(bright, lighting::Wave(x)));
        frame.Set(sweep[static_cast<size_t>(i)], entry);
        x = (x + 5) % length;
    }
}

void StepBreatheColumns(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    state.counter = state.counter >= 127 ? 0 : static_cast<std::uint8_t>(state.counter + 1);
    const std::uint8_t intensity = Scale256(Bright(light), lighting::Breathing(state.counter));
    for (int j = 0; j < kMatrixColumns; ++j)
        SetColumn(frame, j, PackLightEntry(light.multiColor ? Wheel(7 * j) : RecordColour(light), intensity));
}

void ForEachRingKey(int ring, auto&& action) {
    for (std::uint8_t key : layout::Rings()[static_cast<size_t>(ring)])
        if (key != kNoKey) action(key);
}

void StepRadialRainbow(const LightInfoRecord& light, KeyLightFrame& frame) {
    const std::uint8_t bright = Bright(light);
    if (!light.multiColor) {
        SetAll(frame, PackLightEntry(RecordColour(light), bright));
        return;
    }
    for (int i = 0; i < layout::kRingCount; ++i) {
        int n = 150 - 12 * (i + 1);
        if (n < 0) n = 150;
        ForEachRingKey(i, [&](int key) { frame.Set(key, PackLightEntry(Wheel(n), bright)); });
    }
}

void RiseAndFall(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    for (int k = 0; k < kLogicalKeyCount; ++k) {
        if (state.phase[k] == KeyboardLightState::Rising)
            state.level[k] = static_cast<std::uint8_t>(std::min(255, state.level[k] + 15));
        else if (state.phase[k] == KeyboardLightState::Falling)
            state.level[k] = static_cast<std::uint8_t>(std::max(0, state.level[k] - 5));
        RenderKeyLevel(light, state, k, frame);
    }
}

void StepMaskFlow(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                  std::mt19937& random) {
    LightMaskedKeys(state, light.multiColor != 0, random);
    PropagateMasks(state);
    for (int k = 0; k < kLogicalKeyCount; ++k) {
        state.hue[k] = CounterStep(1, 192, state.hue[k], 7);
        state.level[k] = lighting::DecayStep(state.level[k], 8);
        RenderKeyLevel(light, state, k, frame);
    }
}

void StepMaskSpread(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                    std::mt19937& random) {
    LightMaskedKeys(state, light.multiColor != 0, random);
    SpreadMasks(state);
    DecayAndRenderAll(light, state, 9, frame);
}

void StepSparkle(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                 std::mt19937& random) {
    for (int i = 0; i < 6; ++i) {
        const std::uint8_t pick = layout::PickList()[random() % layout::kPickCount];
        const std::uint8_t key = layout::SweepOrder()[pick];
        if (key == kNoKey) continue;
        state.hue[key] = RandomHue(random);
        state.level[key] = 255;
    }
    DecayAndRenderAll(light, state, 10, frame);
}

void StepPerKeySpectrum(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    const std::uint8_t bright = Bright(light);
    for (int k = 0; k < kLogicalKeyCount; ++k) {
        state.hue[k] = state.hue[k] + 1 >= 192 ? 0 : static_cast<std::uint8_t>(state.hue[k] + 1);
        frame.Set(k, PackLightEntry(Wheel(state.hue[k]), bright));
    }
}

void StepRowWave(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    const std::uint8_t bright = Bright(light);
    state.counter = CounterStep(light.fx, 192, state.counter, 1);
    for (int r = 0; r < kMatrixRows; ++r) {
        const std::uint32_t entry = PackLightEntry(Wheel((state.counter + 1 + 24 * r) % 192), bright);
        for (int j = 0; j < kMatrixColumns; ++j) {
            const std::uint8_t key = MatrixKey(j, r);
            if (key != kNoKey) frame.Set(key, entry);
        }
    }
}

constexpr int kCentreColumn = 9;

void StepCentreRipple(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                      std::mt19937& random) {
    const std::uint8_t centre = MaskColumn(state, kCentreColumn);
    if (centre == 1 || centre == 64) SetMaskBit(state, kCentreColumn, 6);
    state.showPhase ^= 1;
    if (state.showPhase != 0) {
        LightMaskedKeys(state, light.multiColor != 0, random);
        PropagateMasks(state);
    }
    DecayAndRenderAll(light, state, 13, frame);
}

void LightKey(const LightInfoRecord& light, KeyboardLightState& state, std::uint8_t key,
              std::mt19937& random) {
    if (key == kNoKey) return;
    state.level[key] = 255;
    if (light.multiColor) state.hue[key] = RandomHue(random);
}

// Rows sweep across, pairs flash, then a ripple from key 52 runs out to key 124.
void StepLightShow(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                   std::mt19937& random) {
    switch (state.showPhase) {
        case 0:
            if (state.counter < layout::kShowRows) {
                for (std::uint8_t key : layout::ShowRows()[state.counter])
                    LightKey(light, state, key, random);
                ++state.counter;
            } else {
                state.showPhase = 1;
                state.counter = 0;
            }
            break;
        case 1:
            if (state.counter < 31) {
                for (std::uint8_t key : layout::Pairs()[state.counter % layout::kPairCount])
                    LightKey(light, state, key, random);
                ++state.counter;
            } else if (state.level[72] == 0) {
                state.showPhase = 2;
            }
            break;
        case 2: {
            int column = 0, row = 0;
            if (layout::FindKey(52, column, row)) SetMaskBit(state, column, row);
            state.showPhase = 3;
            break;
        }
        case 3:
            if (state.level[124] != 0) {
                state.showPhase = 4;
                break;
            }
            LightMaskedKeys(state, light.multiColor != 0, random);
            PropagateMasks(state);
            break;
        default:
            if (state.level[124] == 0) {
                state.showPhase = 0;
                state.counter = 0;
            }
            break;
    }
    DecayAndRenderAll(light, state, 14, frame);
}

void StepTwinkleLevels(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                       std::mt19937& random) {
    const std::uint8_t bright = Bright(light);
    for (int i = 0; i < layout::kSweepUsed; ++i) {
        const std::uint8_t key = layout::SweepOrder()[static_cast<size_t>(i)];
        if (key == kNoKey) continue;  // the used part ends in holes
        int l = state.level[key] + 2;
        if (l >= 192) {
            l = 0;
            state.hue[key] = RandomHue(random);
        }
        state.level[key] = static_cast<std::uint8_t>(l);
        frame.Set(key, PackLightEntry(KeyColour(light, state, key), Scale256(bright, lighting::Twinkle(l))));
    }
}

void StepSideRipples(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                     std::mt19937& random) {
    if (MaskColumn(state, 1) == 1) SetMaskBit(state, 1, 0);
    if (MaskColumn(state, 22) == 64) SetMaskBit(state, 22, 6);
    LightMaskedKeys(state, light.multiColor != 0, random);
    PropagateMasks(state);
    DecayAndRenderAll(light, state, 16, frame);
}

void StepChosenColour(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    switch (light.fx) {
        case 1:
            state.counter = 25;
            break;
        case 2:
            state.counter = 70;
            break;
        case 3:
            state.counter = 95;
            break;
        default:
            state.counter = 174;
            break;
    }
    SetAll(frame, PackLightEntry(Wheel(state.counter), Bright(light)));
}

void StepRingWave(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    const std::uint8_t bright = Bright(light);
    state.counter = CounterStep(light.fx, 192, state.counter, 1);
    for (int i = 0; i < layout::kRingCount; ++i) {
        const std::uint32_t entry = PackLightEntry(Wheel((state.counter + 7 * (i + 1)) % 192), bright);
        ForEachRingKey(i, [&](int key) { frame.Set(key, entry); });
    }
}

void StepCustomIntensity(const LightInfoRecord& light, KeyLightFrame& frame) {
    const std::uint8_t bright = Bright(light);
    for (int k = 0; k < kLogicalKeyCount; ++k)
        frame.Set(k, PackLightEntry(lighting::EntryColour(frame.Get(k)), bright));
}

void StepSnake(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    const auto& snake = layout::SnakeOrder();
    auto mark = [&](int position) {
        const std::uint8_t key = snake[static_cast<size_t>(position)];
        if (key != kNoKey) state.level[key] = 254;
    };
    if (light.fx != 0) {
        if (state.counter > 169) {
            state.counter = 0;
        } else {
            mark(state.counter);
            ++state.counter;
        }
    } else if (state.counter == 0) {
        state.counter = 170;
    } else {
        mark(std::min<int>(state.counter, layout::kSnakeLength - 1));
        --state.counter;
    }
    for (int i = 0; i < layout::kSweepUsed; ++i) {
        const std::uint8_t key = layout::SweepOrder()[static_cast<size_t>(i)];
        if (key == kNoKey) continue;  // the used part ends in holes
        state.level[key] = lighting::DecayStep(state.level[key], 21);
        RenderKeyLevel(light, state, key, frame);
    }
}

void StepTwinklePhases(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                       std::mt19937& random) {
    const std::uint8_t bright = Bright(light);
    for (int i = 0; i < layout::kSweepUsed; ++i) {
        const std::uint8_t key = layout::SweepOrder()[static_cast<size_t>(i)];
        if (key == kNoKey) continue;  // the used part ends in holes
        int t = state.twinkle[key] + 1;
        if (t >= 192) {
            t = 0;
            state.hue[key] = RandomHue(random);
        }
        state.twinkle[key] = static_cast<std::uint8_t>(t);
        frame.Set(key, PackLightEntry(KeyColour(light, state, key), Scale256(bright, lighting::Twinkle(t))));
    }
}

void StepRain(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    state.counter = CounterStep(light.fx, layout::kRainRows, state.counter, 1);
    for (std::uint8_t key : layout::RainRows()[state.counter]) {
        if (key == kNoKey) continue;
        state.level[key] = 255;
        state.hue[key] = 0;
    }
    const std::uint8_t bright = Bright(light);
    for (int k = 0; k < kLogicalKeyCount; ++k) {
        state.level[k] = static_cast<std::uint8_t>(std::max(0, state.level[k] - 5));
        if (state.hue[k] != 255) state.hue[k] = static_cast<std::uint8_t>(std::min(255, state.hue[k] + 3));
        frame.Set(k, light.multiColor
                         ? PackLightEntry(Wheel(state.hue[k]), bright)
                         : PackLightEntry(RecordColour(light), Scale256(bright, state.level[k])));
    }
}

}  // namespace

bool KeyboardModeHasStep(int mode) {
    return mode >= 1 && mode <= 30 && mode != 19;
}

int KeyboardStepPeriod(int mode, int speed) {
    if (mode == kAudioMode) return 2;
    // Modes 26 and 27 run at the speeds of modes 5 and 23.
    const int row = mode == 26 ? 5 : mode == 27 ? 23 : mode;
    return lighting::StepPeriod(row, speed);
}

bool KeyboardStepDue(int mode, int speed, int ticks) {
    return ticks >= KeyboardStepPeriod(mode, speed);
}

lighting::Rgb KeyColour(const LightInfoRecord& light, const KeyboardLightState& state, int key) {
    return light.multiColor ? Wheel(state.hue[static_cast<size_t>(key)]) : RecordColour(light);
}

void RenderKeyLevel(const LightInfoRecord& light, const KeyboardLightState& state, int key,
                    KeyLightFrame& frame) {
    frame.Set(key, PackLightEntry(KeyColour(light, state, key),
                                  Scale256(Bright(light), state.level[static_cast<size_t>(key)])));
}

bool KeyboardStep(int mode, const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
                  std::mt19937& random, std::uint64_t nowMs) {
    switch (mode) {
        case 1:
            StepColumnWave(light, state, frame);
            break;
        case 2:
            StepColumnTwinkle(light, state, frame);
            break;
        case 3:
            StepSweep(light, state, frame);
            break;
        case 4:
            StepSpectrum(light, state.common, frame);
            break;
        case 5:
            StepBreatheColumns(light, state, frame);
            break;
        case 6:
            StepRadialRainbow(light, frame);
            break;
        case 7:
        case 25:
            RiseAndFall(light, state, frame);
            break;
        case 8:
            StepMaskFlow(light, state, frame, random);
            break;
        case 9:
            StepMaskSpread(light, state, frame, random);
            break;
        case 10:
            StepSparkle(light, state, frame, random);
            break;
        case 11:
            StepPerKeySpectrum(light, state, frame);
            break;
        case 12:
            StepRowWave(light, state, frame);
            break;
        case 13:
            StepCentreRipple(light, state, frame, random);
            break;
        case 14:
            StepLightShow(light, state, frame, random);
            break;
        case 15:
            StepTwinkleLevels(light, state, frame, random);
            break;
        case 16:
            StepSideRipples(light, state, frame, random);
            break;
        case 17:
            StepChosenColour(light, state, frame);
            break;
        case 18:
            StepRingWave(light, state, frame);
            break;
        case 20:
            StepCustomIntensity(light, frame);
            break;
        case 21:
            StepSnake(light, state, frame);
            break;
        case 22:
            StepTwinklePhases(light, state, frame, random);
            break;
        case 23:
            StepBlink(light, state.common, frame, nowMs);
            break;
        case 24:
            StepRain(light, state, frame);
            break;
        case 26:
            StepBreatheFourColours(light, state.common, frame);
            break;
        case 27:
            StepBlinkFourColours(light, state.common, frame, nowMs);
            break;
        case 28:
            StepOff(light, state.common, frame);
            break;
        case kAudioMode:
            StepAudio(light, state, frame, random);
            break;
        case kColourInputMode:
            StepColourInput(light, state, frame);
            break;
        default:
            return false;
    }
    return true;
}

void KeyboardEntryStep(int mode, KeyboardLightState& state) {
    switch (mode) {
        case 13:
            SetMaskBit(state, kCentreColumn, 6);
            return;
        case 15:
            for (int j = 0; j < kMatrixColumns; ++j) {
                for (int r = 0; r < layout::kColumnMatrixRows; ++r) {
                    const std::uint8_t key = layout::ColumnMatrixKey(j, r);
                    if (key == kNoKey) continue;
                    state.level[key] = layout::StartPhase(kMatrixRows * j + r);
                    state.hue[key] = static_cast<std::uint8_t>(7 * j);
                }
            }
            return;
        case 16:
            SetMaskBit(state, 1, 0);
            return;
        case 20:
            return;
        case 22:
            for (int j = 0; j < kMatrixColumns; ++j) {
                std::uint8_t x = static_cast<std::uint8_t>(192 - 8 * j);
                for (int r = 0; r < layout::kColumnMatrixRows; ++r) {
                    const std::uint8_t previous = x;
                    x = static_cast<std::uint8_t>(x - 35);
                    if (x > 191) x = static_cast<std::uint8_t>(previous - 98);
                    const std::uint8_t key = layout::ColumnMatrixKey(j, r);
                    if (key == kNoKey) continue;
                    state.twinkle[key] = x;
                    state.hue[key] = static_cast<std::uint8_t>(7 * j);
                }
            }
            return;
        default:
            for (int k = 0; k < kLogicalKeyCount; ++k)
                state.hue[k] = static_cast<std::uint8_t>(33 * (k + 1) % 192);
            return;
    }
}

}  // namespace zevik

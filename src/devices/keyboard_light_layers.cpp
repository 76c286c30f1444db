#include "devices/keyboard_light_layers.h"

#include <algorithm>
#include <cstddef>

namespace zevik {
namespace {

using lighting::PackLightEntry;
using lighting::Rgb;

Rgb EffectColour(const LightListRecord& effect, std::uint8_t hue) {
    return effect.ledMultiColor ? lighting::Wheel(hue) : Rgb{effect.red, effect.green, effect.blue};
}

}  // namespace

void KeyboardLightLayers::Load(std::vector<LightListRecord> effects) {
    if (effects.size() > m_keys.size()) effects.resize(m_keys.size());
    m_effects = std::move(effects);
    Restart();
}

void KeyboardLightLayers::Restart() {
    m_keys.fill(KeyState{});
}

std::uint32_t KeyboardLightLayers::DrawBreathing(const LightListRecord& effect, KeyState& key) {
    const int phase = key.phase + lighting::ClampedSpeedLevel(effect.ledSpeed) + 4;
    if (phase > 127) {
        key.phase = 0;
        key.hue = static_cast<std::uint8_t>(std::min(191, key.hue + 1));
    } else {
        key.phase = static_cast<std::uint8_t>(phase);
    }
    return PackLightEntry(
        EffectColour(effect, key.hue),
        lighting::Scale256(lighting::Breathing(key.phase), lighting::Brightness(effect.ledBrightness)));
}

std::uint32_t KeyboardLightLayers::DrawBlink(const LightListRecord& effect, KeyState& key,
                                             std::uint64_t nowMs) {
    if (!key.toggled || nowMs - key.toggleMs >= lighting::BlinkPeriodMs(effect.ledSpeed)) {
        key.toggled = true;
        key.toggleMs = nowMs;
        key.on = !key.on;
        key.hue = key.hue + 14 > 191 ? 0 : static_cast<std::uint8_t>(key.hue + 14);
    }
    return key.on ? PackLightEntry(EffectColour(effect, key.hue), lighting::Brightness(effect.ledBrightness))
                  : 0;
}

std::uint32_t KeyboardLightLayers::DrawSpectrum(const LightListRecord& effect, KeyState& key) {
    if (++key.turns >= lighting::BlinkPeriod(effect.ledSpeed)) {
        key.turns = 0;
        key.hue = key.hue + 1 >= lighting::kWheelCycle ? 0 : static_cast<std::uint8_t>(key.hue + 1);
    }
    return PackLightEntry(lighting::Wheel(key.hue), lighting::Brightness(effect.ledBrightness));
}

void KeyboardLightLayers::Run(CLightFrame& frame, std::uint64_t nowMs) {
    for (size_t k = 0; k < m_effects.size(); ++k) {
        const LightListRecord& effect = m_effects[k];
        KeyState& key = m_keys[k];
        const int index = static_cast<int>(k);
        switch (effect.ledRegMode) {
            case Breathing:
                if (effect.present) frame.Set(index, DrawBreathing(effect, key));
                break;
            case Static:
                frame.Set(index, PackLightEntry(Rgb{effect.red, effect.green, effect.blue},
                                                lighting::Brightness(effect.ledBrightness)));
                break;
            case Blink:
                frame.Set(index, DrawBlink(effect, key, nowMs));
                break;
            case Spectrum:
                if (effect.present) frame.Set(index, DrawSpectrum(effect, key));
                break;
            case Off:
                frame.Set(index, 0);
                break;
            default:
                break;
        }
    }
}

}  // namespace zevik

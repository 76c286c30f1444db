#pragma once
// The keyboard's per-key effect layers: after the mode step, each key with an entry in the profile's
// per-key effect list is drawn over by its own effect. Types: 0 breathing, 1 static, 2 blink,
// 3 spectrum, 4 off. Breathing and spectrum draw only when the entry is enabled ("present"). The
// LED-strip devices run the same layers over their LEDs (entry k is LED k).

#include <array>
#include <cstdint>
#include <vector>

#include "devices/key_light_frame.h"
#include "devices/lighting_tables.h"
#include "settings/light_list_record.h"

namespace zevik {

class KeyboardLightLayers {
public:
    enum Type : std::uint8_t { Breathing = 0, Static = 1, Blink = 2, Spectrum = 3, Off = 4 };

    // Entry k is logical key k's effect; entries beyond 170 are ignored. Restarts the layers.
    void Load(std::vector<LightListRecord> effects);
    // Zeroes the phases, hues, turn counts and time stamps.
    void Restart();
    // One turn of every layer at clock time nowMs, overwriting the frame entries of the keys it draws.
    void Run(CLightFrame& frame, std::uint64_t nowMs);

    std::uint8_t Hue(int key) const { return InRange(key) ? m_keys[static_cast<size_t>(key)].hue : 0; }
    std::uint8_t Phase(int key) const { return InRange(key) ? m_keys[static_cast<size_t>(key)].phase : 0; }

private:
    struct KeyState {
        std::uint8_t phase = 0;
        std::uint8_t hue = 0;
        std::uint8_t turns = 0;
        bool on = false;
        bool toggled = false;
        std::uint64_t toggleMs = 0;
    };
    static bool InRange(int key) { return key >= 0 && key < lighting::kLogicalKeyCount; }
    static std::uint32_t DrawBreathing(const LightListRecord& effect, KeyState& key);
    static std::uint32_t DrawBlink(const LightListRecord& effect, KeyState& key, std::uint64_t nowMs);
    static std::uint32_t DrawSpectrum(const LightListRecord& effect, KeyState& key);

    std::vector<LightListRecord> m_effects;
    std::array<KeyState, lighting::kLogicalKeyCount> m_keys{};
};

}  // namespace zevik

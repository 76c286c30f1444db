#pragma once
// StripLightEngine: the lighting of an LED-strip device (mousepad, headset) computed on the PC,
// without a device or a page. It owns the light frame (one entry per LED button of the page), the
// animation state with the seed ring, the per-key layers and the sequence player, and runs them as
// the lighting thread does: the mode's step (or the sequence player), then the layers.
//
// Use from a device class:
//   - page binding: Resize(number of LED buttons);
//   - applying the lighting: SetLighting(mode code, record); applying a profile also LoadEffects;
//   - the lighting thread (CLightingThread): PeriodTicks() as its period, Step(now) as its step;
//   - the preview: Frame() (entries read whole, see CLightFrame).
// Timing: a turn is 31.25 ms, two ticks of CLightingThread's 15.625 ms system tick; every mode steps
// every 8, 6, 4, 2 or 1 turns for speed levels 0 to 4 (the sequence at its current step's speed).
// Thread safety: every operation takes the engine lock; the frame's entries are read whole without it.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "devices/keyboard_light_layers.h"
#include "devices/light_sequence_player.h"
#include "devices/lighting_frame.h"
#include "devices/strip_lighting_steps.h"
#include "settings/light_effect_record.h"
#include "settings/light_info_record.h"
#include "settings/light_list_record.h"

namespace zevik {

class StripLightEngine {
public:
    static constexpr std::chrono::microseconds kTurn{31250};
    static constexpr int kTicksPerTurn = 2;  // CLightingThread's system ticks in one turn

    // The ring starts with one light at position 0, so the travelling lights show before anything
    // else seeds them.
    explicit StripLightEngine(int ledCount = kStripLedCount);

    // A frame of ledCount entries (page binding, while no step runs), all dark.
    void Resize(int ledCount);
    // The mode in force (the mode list's code) and its record. A new mode resets the animation;
    // the same mode only takes the record (brightness, speed, colour, direction).
    void SetLighting(int mode, const LightInfoRecord& light);
    // Applying a profile: the lighting sequence (cursor at its start at nowMs) and the per-LED effects
    // (entry k for LED k; the layers restart).
    void LoadEffects(std::vector<LightEffectRecord> sequence, std::vector<LightListRecord> effects,
                     std::uint64_t nowMs);
    // The seed ring's entries from the first (at most 23; the rest become 0).
    void SetSeedRing(std::span<const std::uint8_t> entries);

    // The period of the current mode in turns, and in CLightingThread ticks.
    int PeriodTurns() const;
    int PeriodTicks() const { return PeriodTurns() * kTicksPerTurn; }
    // One step of the mode (the sequence player for 5 and unknown modes), then the per-LED layers.
    void Step(std::uint64_t nowMs);

    int Mode() const;
    LightInfoRecord Lighting() const;
    StripLightState State() const;
    const CLightFrame& Frame() const { return m_frame; }
    CLightFrame& Frame() { return m_frame; }

private:
    int PeriodLocked() const;

    mutable std::mutex m_lock;
    int m_mode = 0;
    LightInfoRecord m_light;
    StripLightState m_state;
    KeyboardLightLayers m_layers;
    LightSequencePlayer m_sequence;
    CLightFrame m_frame;
};

}  // namespace zevik

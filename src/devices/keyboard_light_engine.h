#pragma once
// KeyboardLightEngine: the keyboard's lighting computed on the PC, without a device or a page. It
// owns the key frame, the animation state, the per-key layers and the sequence player, and runs
// them as the lighting thread does: the mode's step (or the sequence player in a mode without one),
// then the layers. Key events come from other threads; the engine lock makes every operation whole,
// and the frame's entries are read whole without it.

#include <cstdint>
#include <mutex>
#include <random>
#include <span>
#include <vector>

#include "devices/key_light_frame.h"
#include "devices/keyboard_key_events.h"
#include "devices/keyboard_light_layers.h"
#include "devices/keyboard_light_state.h"
#include "devices/light_sequence_player.h"
#include "settings/audio_light_info_record.h"
#include "settings/light_effect_record.h"
#include "settings/light_info_record.h"
#include "settings/light_list_record.h"

namespace zevik {

class KeyboardLightEngine {
public:
    explicit KeyboardLightEngine(std::uint32_t seed = std::random_device{}()) : m_random(seed) {}

    // The random lighting starts again from seed (tests and benchmarks repeat a run with it).
    void Seed(std::uint32_t seed);

    // A new mode (or a repeated mode 20): the animation is reset and the mode's entry step run.
    void EnterMode(int mode, const LightInfoRecord& light);
    // The record changes without a mode change (brightness, speed, colour).
    void SetLighting(const LightInfoRecord& light);
    // Applying a profile: per-key effects (layers restarted), the lighting sequence (cursor at its
    // start at nowMs), the animation counter back to 0 and, in the rain (24), the hues cleared.
    void LoadKeyEffects(std::vector<LightEffectRecord> sequence, std::vector<LightListRecord> effects,
                        std::uint64_t nowMs);

    // One turn of the lighting thread after ticks counted ticks: when a step is due, runs the mode's
    // step (or, in a mode without one, the sequence player at the speed of its current step) and
    // returns true (the caller then sets its tick count to 0); the layers run every turn.
    bool Turn(int ticks, std::uint64_t nowMs);
    // The same for a thread that keeps its own tick count (CLightingThread): the period of the current
    // mode (in a mode without a step, at the speed of the sequence's current step), and one step
    // followed by the layers.
    int PeriodTicks() const;
    void Step(std::uint64_t nowMs);
    void KeyEvent(int key, KeyEventState event);

    // The music modes' input, each handed over whole under the engine lock: the profile's audio
    // lighting record, a batch of 25 band levels (TakeAudioLevels), the colour of mode 30.
    void SetAudioLighting(const AudioLightInfoRecord& record);
    void AudioLevels(std::span<const std::int32_t> levels);
    void AudioBands(std::span<const std::int32_t> values);

    int Mode() const;
    const KeyLightFrame& Frame() const { return m_frame; }
    KeyLightFrame& Frame() { return m_frame; }
    // A copy of the animation state, taken under the lock.
    KeyboardLightState State() const;
    // Runs edit on the frame under the engine lock, so no step reads an entry half-way through it.
    template <class Edit>
    void EditFrame(Edit&& edit) {
        std::lock_guard lock(m_lock);
        edit(m_frame);
    }

private:
    int PeriodLocked() const;
    void StepLocked(std::uint64_t nowMs);

    mutable std::mutex m_lock;
    int m_mode = 0;
    LightInfoRecord m_light;
    KeyboardLightState m_state;
    KeyboardLightLayers m_layers;
    LightSequencePlayer m_sequence;
    KeyLightFrame m_frame;
    std::mt19937 m_random;
};

}  // namespace zevik

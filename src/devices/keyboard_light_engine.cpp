#include "devices/keyboard_light_engine.h"

#include "devices/keyboard_audio_steps.h"
#include "devices/keyboard_lighting_steps.h"

namespace zevik {

void KeyboardLightEngine::EnterMode(int mode, const LightInfoRecord& light) {
    std::lock_guard lock(m_lock);
    m_mode = mode;
    m_light = light;
    m_state.Reset();
    KeyboardEntryStep(mode, m_state);
}

void KeyboardLightEngine::Seed(std::uint32_t seed) {
    std::lock_guard lock(m_lock);
    m_random.seed(seed);
}

void KeyboardLightEngine::SetLighting(const LightInfoRecord& light) {
    std::lock_guard lock(m_lock);
    m_light = light;
}

void KeyboardLightEngine::LoadKeyEffects(std::vector<LightEffectRecord> sequence,
                                         std::vector<LightListRecord> effects, std::uint64_t nowMs) {
    std::lock_guard lock(m_lock);
    m_sequence.Load(std::move(sequence), nowMs);
    m_layers.Load(std::move(effects));
    if (m_mode == 24) m_state.hue.fill(0);
    m_state.counter = 0;
    m_state.common.x = 0;  // the counter of the steps shared with the other devices
}

int KeyboardLightEngine::PeriodLocked() const {
    // The sequence runs at the speed of the step it shows.
    const LightEffectRecord* shown = KeyboardModeHasStep(m_mode) ? nullptr : m_sequence.Current();
    return KeyboardStepPeriod(m_mode, shown != nullptr ? shown->ledSpeed : m_light.speed);
}

void KeyboardLightEngine::StepLocked(std::uint64_t nowMs) {
    if (!KeyboardStep(m_mode, m_light, m_state, m_frame, m_random, nowMs))
        m_sequence.Play(m_light.fx, m_state.common, m_frame, -1, nowMs);
}

bool KeyboardLightEngine::Turn(int ticks, std::uint64_t nowMs) {
    std::lock_guard lock(m_lock);
    const bool due = ticks >= PeriodLocked();
    if (due) StepLocked(nowMs);
    m_layers.Run(m_frame, nowMs);
    return due;
}

int KeyboardLightEngine::PeriodTicks() const {
    std::lock_guard lock(m_lock);
    return PeriodLocked();
}

void KeyboardLightEngine::Step(std::uint64_t nowMs) {
    std::lock_guard lock(m_lock);
    StepLocked(nowMs);
    m_layers.Run(m_frame, nowMs);
}

void KeyboardLightEngine::KeyEvent(int key, KeyEventState event) {
    std::lock_guard lock(m_lock);
    KeyboardKeyEvent(m_mode, key, event, m_state, m_random);
}

void KeyboardLightEngine::SetAudioLighting(const AudioLightInfoRecord& record) {
    std::lock_guard lock(m_lock);
    m_state.audio.lighting = record;
}

void KeyboardLightEngine::AudioLevels(std::span<const std::int32_t> levels) {
    std::lock_guard lock(m_lock);
    TakeAudioLevels(m_mode, m_state, levels);
}

void KeyboardLightEngine::AudioBands(std::span<const std::int32_t> values) {
    std::lock_guard lock(m_lock);
    m_state.audio.TakeColour(values);
}

int KeyboardLightEngine::Mode() const {
    std::lock_guard lock(m_lock);
    return m_mode;
}

KeyboardLightState KeyboardLightEngine::State() const {
    std::lock_guard lock(m_lock);
    return m_state;
}

}  // namespace zevik

#include "devices/strip_light_engine.h"

#include <algorithm>

namespace zevik {

StripLightEngine::StripLightEngine(int ledCount) {
    m_frame.Resize(ledCount);
    m_state.seedRing[0] = 1;
}

void StripLightEngine::Resize(int ledCount) {
    std::lock_guard lock(m_lock);
    m_frame.Resize(ledCount);
}

void StripLightEngine::SetLighting(int mode, const LightInfoRecord& light) {
    std::lock_guard lock(m_lock);
    if (mode != m_mode) m_state.Reset();
    m_mode = mode;
    m_light = light;
}

void StripLightEngine::LoadEffects(std::vector<LightEffectRecord> sequence, std::vector<LightListRecord> effects,
                                   std::uint64_t nowMs) {
    std::lock_guard lock(m_lock);
    m_sequence.Load(std::move(sequence), nowMs);
    m_layers.Load(std::move(effects));
}

void StripLightEngine::SetSeedRing(std::span<const std::uint8_t> entries) {
    std::lock_guard lock(m_lock);
    m_state.seedRing.fill(0);
    std::copy_n(entries.begin(), std::min(entries.size(), m_state.seedRing.size()), m_state.seedRing.begin());
}

int StripLightEngine::PeriodLocked() const {
    const bool ownStep = m_mode >= 0 && m_mode <= static_cast<int>(StripMode::Off) &&
                         m_mode != static_cast<int>(StripMode::Sequence);
    // The sequence runs at the speed of the step it shows.
    const LightEffectRecord* shown = ownStep ? nullptr : m_sequence.Current();
    return StripStepPeriod(shown != nullptr ? shown->ledSpeed : m_light.speed);
}

int StripLightEngine::PeriodTurns() const {
    std::lock_guard lock(m_lock);
    return PeriodLocked();
}

void StripLightEngine::Step(std::uint64_t nowMs) {
    std::lock_guard lock(m_lock);
    if (!StripStep(m_mode, m_light, m_state, m_frame, nowMs))
        m_sequence.Play(m_light.fx, m_state.common, m_frame, -1, nowMs);
    m_layers.Run(m_frame, nowMs);
}

int StripLightEngine::Mode() const {
    std::lock_guard lock(m_lock);
    return m_mode;
}

LightInfoRecord StripLightEngine::Lighting() const {
    std::lock_guard lock(m_lock);
    return m_light;
}

StripLightState StripLightEngine::State() const {
    std::lock_guard lock(m_lock);
    return m_state;
}

}  // namespace zevik

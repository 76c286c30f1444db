#include "devices/light_sequence_player.h"

#include <algorithm>
#include <cstddef>

namespace zevik {

void LightSequencePlayer::Load(std::vector<LightEffectRecord> steps, std::uint64_t nowMs) {
    m_steps = std::move(steps);
    m_cursor = 0;
    m_since = nowMs;
}

const LightEffectRecord* LightSequencePlayer::Current() const {
    return m_steps.empty() ? nullptr : &m_steps[m_cursor % m_steps.size()];
}

const LightEffectRecord* LightSequencePlayer::Advance(std::uint64_t nowMs) {
    if (m_steps.empty()) return nullptr;
    m_cursor %= m_steps.size();
    const auto duration = static_cast<std::uint64_t>(std::max(0, m_steps[m_cursor].time));
    if (nowMs - m_since >= duration) {
        m_cursor = (m_cursor + 1) % m_steps.size();
        m_since = nowMs;
    }
    return &m_steps[m_cursor];
}

LightInfoRecord LightSequencePlayer::RecordOfStep(const LightEffectRecord& step, std::uint8_t fx) {
    LightInfoRecord r;
    r.light = step.ledBrightness;
    r.speed = step.ledSpeed;
    r.fx = step.ledDirection != 0 ? 1 : fx;
    r.multiColor = step.ledMultiColor;
    r.red = step.red;
    r.green = step.green;
    r.blue = step.blue;
    return r;
}

void LightSequencePlayer::Play(std::uint8_t fx, LightAnimation& state, CLightFrame& frame, int count,
                               std::uint64_t nowMs) {
    const LightEffectRecord* step = Advance(nowMs);
    if (step == nullptr) {
        frame.Fill(0);
        return;
    }
    const LightInfoRecord record = RecordOfStep(*step, fx);
    switch (step->ledRegMode) {
        case 0:
            StepBreathe(record, state, frame);
            break;
        case 1:
            StepSteady(record, state, frame);
            break;
        case 2:
            StepBlink(record, state, frame, nowMs);
            break;
        case 4:
            StepTravellingWave(record, state, frame, count < 0 ? frame.Size() : count);
            break;
        case 5:
            StepSpectrum(record, state, frame);
            break;
        default:
            StepOff(record, state, frame);
            break;
    }
}

}  // namespace zevik

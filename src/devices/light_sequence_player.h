#pragma once
// The lighting sequence player every device shares: the profile's list of steps, the cursor and the
// time it last moved. The step at the cursor is shown until its duration (milliseconds of the clock,
// however many steps ran meanwhile) has passed since the cursor last moved; then the cursor moves on,
// back to the first step after the last. Not synchronised: the device guards it with its sequence lock.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "devices/lighting_frame.h"
#include "devices/lighting_steps.h"
#include "settings/light_effect_record.h"
#include "settings/light_info_record.h"

namespace zevik {

class LightSequencePlayer {
public:
    // A new list; the cursor starts at its first step at nowMs.
    void Load(std::vector<LightEffectRecord> steps, std::uint64_t nowMs);
    bool Empty() const { return m_steps.empty(); }
    std::size_t Cursor() const { return m_cursor; }
    // The step at the cursor, without moving it; nullptr for an empty list.
    const LightEffectRecord* Current() const;
    // Moves the cursor when the current step's time is up, then returns the step to show (nullptr for
    // an empty list).
    const LightEffectRecord* Advance(std::uint64_t nowMs);

    // Shows one step on the first count entries of the frame (or all entries when count is below 0)
    // with the shared animation state: type 0 breathing, 1 static colour, 2 blink, 4 travelling wave,
    // 5 colour cycle; an empty list or another type shows black. fx is the device's direction, used
    // when the step has none.
    void Play(std::uint8_t fx, LightAnimation& state, CLightFrame& frame, int count, std::uint64_t nowMs);

    // A step as the lighting record the common steps read.
    static LightInfoRecord RecordOfStep(const LightEffectRecord& step, std::uint8_t fx);

private:
    std::vector<LightEffectRecord> m_steps;
    std::size_t m_cursor = 0;
    std::uint64_t m_since = 0;
};

}  // namespace zevik

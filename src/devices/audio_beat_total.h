#pragma once
// The beat total of the keyboard's beat style: one count for the whole process, shared by every
// keyboard. Each batch of band levels adds a step (louder batches add more); when the total passes
// 70 it starts again at 0 and that batch is a beat.

#include <cstdint>

namespace zevik::audio {

inline constexpr std::int32_t kBeatThreshold = 70;

// Adds step (saturating at the ends of the 32-bit range); true when the total then exceeded the
// threshold, in which case it is 0 again.
bool AddBeat(std::int32_t step);
std::int32_t BeatTotal();
// Back to 0 (a test starts from a known total).
void ResetBeatTotal();

}  // namespace zevik::audio

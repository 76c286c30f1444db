#pragma once
// The keyboard's music modes. Mode 29 draws the band levels of the last batch in one of seven styles
// (the record's "AudioMode"): 0 columns, 1 mirrored bars, 2 beat ripple, 3 rings, 4 draining columns,
// 5 bars from the left, 6 alternating bars; any other style draws nothing. Mode 30 shows the colour
// handed in by the capture side. Plain functions over the lighting record, the animation state and
// the key frame, like the other steps; none allocates.
//
// Record fields used: light (brightness level), fx (direction), multiColor (the beat style's mask
// hues); from the audio record: the style, the foreground and background colours, "7ColorFlags".

#include <cstdint>
#include <random>
#include <span>

#include "devices/key_light_frame.h"
#include "devices/keyboard_light_state.h"
#include "settings/light_info_record.h"

namespace zevik {

inline constexpr int kAudioMode = 29;
inline constexpr int kColourInputMode = 30;
inline constexpr int kBeatStyle = 2;
inline constexpr int kAudioStyleCount = 7;
inline constexpr int kBeatKey = 51;  // where every beat starts its ripple

// One step of mode 29: takes the batch of levels (the state's levels are 0 afterwards, so until the
// next batch the keys only fade) and draws the style. A style writes only the keys it visits.
void StepAudio(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
               std::mt19937& random);

// One step of mode 30: every key shows red, green and blue from the low bytes of colour values 0, 1
// and 2, at the brightness level's intensity.
void StepColourInput(const LightInfoRecord& light, const KeyboardLightState& state, KeyLightFrame& frame);

// A new batch of band levels for a keyboard in mode: stored for the next step. In the beat style of
// mode 29 the batch is taken at once instead: it adds its loudness to the process's beat total, and a
// beat seeds a ripple at key 51 in all four masks.
void TakeAudioLevels(int mode, KeyboardLightState& state, std::span<const std::int32_t> levels);

}  // namespace zevik

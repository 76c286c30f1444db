#pragma once
// The two controls of a headset's card the audio layer drives: the microphone's capture control
// and its playback control, the sidetone that lets the wearer hear the microphone. USB headsets
// name the microphone "Mic" (both directions on one element); a card without it may still offer a
// plain capture control ("Capture", "Headset"), but only an element named for the microphone or the
// sidetone counts as the sidetone: "PCM" and "Speaker" are the headset's own playback.

#include <optional>

#include "audio/mixer_card.h"

namespace zevik {

struct HeadsetMixerControls {
    std::optional<MixerControl> microphone;  // capture direction
    std::optional<MixerControl> sidetone;    // playback direction

    static HeadsetMixerControls Find(const IMixerCard& card);
};

}  // namespace zevik

#include "audio/headset_mixer_controls.h"

#include <string_view>
#include <vector>

namespace zevik {

namespace {
std::optional<MixerControl> FirstNamed(const std::vector<MixerControl>& controls, MixerDirection direction,
                                       std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        for (const MixerControl& control : controls) {
            if (control.id.direction == direction && control.id.name == name) return control;
        }
    }
    return std::nullopt;
}
}  // namespace

HeadsetMixerControls HeadsetMixerControls::Find(const IMixerCard& card) {
    const std::vector<MixerControl> controls = card.Controls();
    HeadsetMixerControls found;
    found.microphone = FirstNamed(controls, MixerDirection::Capture, {"Mic", "Headset", "Capture"});
    // Otherwise the first capture control with a volume ("Auto Gain Control" is a switch alone).
    for (const MixerControl& control : controls) {
        if (found.microphone) break;
        if (control.id.direction == MixerDirection::Capture && control.hasVolume) found.microphone = control;
    }
    found.sidetone = FirstNamed(controls, MixerDirection::Playback, {"Mic", "Sidetone", "Side Tone"});
    return found;
}

}  // namespace zevik

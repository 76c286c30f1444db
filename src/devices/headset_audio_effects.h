#pragma once
// Which of the headset driver's effects the audio layer could reach, as found when the audio side
// started. An effect that is not available is shown as such; its settings are still kept.

#include <string>
#include <vector>

namespace zevik {

struct HeadsetAudioEffects {
    bool equaliser = false;
    bool surround = false;
    bool reverb = false;
    bool noiseCancelling = false;
    bool voiceChanger = false;

    // The names of those not available, in this order: "equaliser", "surround", "reverb",
    // "noise-cancelling", "voice-changer".
    std::vector<std::string> Unavailable() const {
        std::vector<std::string> names;
        if (!equaliser) names.emplace_back("equaliser");
        if (!surround) names.emplace_back("surround");
        if (!reverb) names.emplace_back("reverb");
        if (!noiseCancelling) names.emplace_back("noise-cancelling");
        if (!voiceChanger) names.emplace_back("voice-changer");
        return names;
    }
};

}  // namespace zevik

#include "audio/headset_mixer_controls.h"

#include <gtest/gtest.h>

namespace zevik {
namespace {

// A card that lists the given controls; nothing else about them matters here.
class ListedCard : public IMixerCard {
public:
    explicit ListedCard(std::vector<MixerControl> controls) : controls_(std::move(controls)) {}
    std::string Name() const override { return "listed"; }
    std::vector<MixerControl> Controls() const override { return controls_; }
    std::optional<MixerRange> RawRange(const MixerControlId&) const override { return std::nullopt; }
    std::optional<MixerRange> DbRange(const MixerControlId&) const override { return std::nullopt; }
    std::optional<long> DbOfRaw(const MixerControlId&, long) const override { return std::nullopt; }
    std::optional<long> Raw(const MixerControlId&, int) const override { return std::nullopt; }
    std::optional<bool> Switch(const MixerControlId&, int) const override { return std::nullopt; }
    bool SetRaw(const MixerControlId&, long) override { return false; }
    bool SetSwitch(const MixerControlId&, bool) override { return false; }

private:
    std::vector<MixerControl> controls_;
};

MixerControl Playback(const char* name, bool volume = true) {
    return {{name, MixerDirection::Playback}, volume, true, 1};
}
MixerControl Capture(const char* name, bool volume = true) {
    return {{name, MixerDirection::Capture}, volume, true, 1};
}

TEST(HeadsetMixerControls, MicrophoneAndSidetoneByNameThenByKind) {
    const struct {
        const char* what;
        std::vector<MixerControl> controls;
        std::optional<std::string> microphone;
        std::optional<std::string> sidetone;
    } cases[] = {
        {"usual USB headset", {Playback("PCM"), Playback("Mic"), Capture("Mic")}, "Mic", "Mic"},
        {"capture named Headset",
         {Playback("Speaker"), Capture("Headset"), Playback("Sidetone")},
         "Headset",
         "Sidetone"},
        {"Mic preferred over Capture", {Capture("Capture"), Capture("Mic")}, "Mic", std::nullopt},
        {"any capture volume, switches skipped",
         {Capture("Auto Gain Control", false), Capture("Digital In")},
         "Digital In",
         std::nullopt},
        {"speakers only: PCM is no sidetone",
         {Playback("PCM"), Playback("Speaker")},
         std::nullopt,
         std::nullopt},
        {"nothing", {}, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const HeadsetMixerControls found = HeadsetMixerControls::Find(ListedCard(c.controls));
        EXPECT_EQ(found.microphone ? std::optional<std::string>(found.microphone->id.name) : std::nullopt,
                  c.microphone);
        EXPECT_EQ(found.sidetone ? std::optional<std::string>(found.sidetone->id.name) : std::nullopt,
                  c.sidetone);
        if (found.microphone) {
            EXPECT_EQ(found.microphone->id.direction, MixerDirection::Capture);
        }
        if (found.sidetone) {
            EXPECT_EQ(found.sidetone->id.direction, MixerDirection::Playback);
        }
    }
}

}  // namespace
}  // namespace zevik

#include "devices/headset_audio_binding.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "audio/audio_conf_library.h"
#include "audio/fake_mixer_card.h"
#include "audio/german_locale.h"
#include "audio/number_text.h"
#include "devices/headset_audio_fakes.h"

namespace zevik {
namespace {

using test::Exchange;

// The binding over a real library over card (null: no card), with the exchanges recorded.
struct CardRig {
    explicit CardRig(IMixerCard* card, const std::string& document = "{}")
        : profile(document),
          conf([card]() -> std::unique_ptr<IMixerCard> {
              if (card == nullptr) return nullptr;
              return std::make_unique<test::BorrowedCard>(*card);
          }),
          recorder(conf),
          binding(recorder, profile.data) {
        binding.SetPages(&sound, &voice);
    }
    // What the headset does when it connects: the profile, the audio state, the page.
    void Connect() {
        binding.TakeProfile();
        binding.Connect();
        binding.ShowOnPages();
    }

    test::HeadsetProfile profile;
    CAudioConfLibrary conf;
    test::RecordingLibrary recorder;
    CHeadsetAudioBinding binding;
    test::FakeSoundPage sound;
    test::FakeVoicePage voice;
};

struct OperationCase {
    const char* what;
    std::function<bool(CHeadsetAudioBinding&)> run;
    bool taken;
    std::vector<Exchange> writes;  // device id, property, access, value, selector
};

TEST(HeadsetAudioBinding, EachOperationWritesItsProperties) {
    constexpr auto W = PropertyAccess::Write;
    const OperationCase cases[] = {
        {"microphone level",
         [](auto& b) { return b.SetMicrophoneLevel(37); },
         true,
         {{2, "VolumeScalarControl", W, 0.37f, {-1}, 0}}},
        {"microphone off",
         [](auto& b) { return b.SetMicrophoneOn(false); },
         true,
         {{2, "MuteControl", W, 1, {}, 0}}},
        {"monitor level",
         [](auto& b) { return b.SetMonitorLevel(50); },
         true,
         {{2, "AAVolumeScalarControl", W, 0.5f, {0}, 0}}},
        {"monitor on",
         [](auto& b) { return b.SetMonitorOn(true); },
         true,
         {{2, "AAMuteControl", W, 0, {}, 0}}},
        {"voice changer on",
         [](auto& b) { return b.SetVoiceChanger(true); },
         false,
         {{2, "Enable_MAGICVOICE", W, 1, {}, -2}, {2, "Enable_MICECHO", W, 0, {}, -2}}},
        {"voice changer off",
         [](auto& b) { return b.SetVoiceChanger(false); },
         false,
         {{2, "Enable_MAGICVOICE", W, 0, {}, -2}}},
        {"voice type 2",
         [](auto& b) { return b.SetVoiceType(2); },
         false,
         {{2, "MagicVoice_Selection", W, 1, {}, -2}}},
        {"band 4", [](auto& b) { return b.MoveBand(3, -7); }, false, {{1, "EQ_Slider4", W, -7, {}, -2}}},
        {"voice type 5", [](auto& b) { return b.SetVoiceType(5); }, false, {}},
        {"microphone level 101", [](auto& b) { return b.SetMicrophoneLevel(101); }, false, {}},
        {"band 11", [](auto& b) { return b.MoveBand(10, 1); }, false, {}},
    };
    for (const OperationCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakeMixerCard card = test::LinearHeadsetCard();
        CardRig rig(&card);
        rig.Connect();
        rig.recorder.log.clear();
        EXPECT_EQ(c.run(rig.binding), c.taken);
        const std::vector<Exchange> writes = rig.recorder.Writes();
        ASSERT_EQ(writes.size(), c.writes.size());
        for (std::size_t i = 0; i < writes.size(); ++i) {
            EXPECT_EQ(writes[i].device, c.writes[i].device);
            EXPECT_EQ(writes[i].property, c.writes[i].property);
            EXPECT_DOUBLE_EQ(writes[i].value, c.writes[i].value);
            EXPECT_EQ(writes[i].selector, c.writes[i].selector);
            EXPECT_EQ(writes[i].result, c.writes[i].result);
        }
    }
}

TEST(HeadsetAudioBinding, MicrophoneLevel37WritesThePositionAndStores37) {
    test::FakeMixerCard card;
    card.Add("Mic", MixerDirection::Capture, {0, 1000, std::nullopt, 0, false, {0}, std::vector<bool>{true}});
    CardRig rig(&card, R"({"SystemSetStages": {"MicInValue": 5}})");
    rig.Connect();
    ASSERT_TRUE(rig.binding.SetMicrophoneLevel(37));
    EXPECT_EQ(card.At({"Mic", MixerDirection::Capture}).raw[0], 370);
    EXPECT_EQ(rig.binding.Record().micInValue, 37);
    EXPECT_EQ(rig.profile.SavedSystem("MicInValue"), 37);

    // Refused by the card: nothing changes, not the record, not the file.
    card.refuseWrites = true;
    EXPECT_FALSE(rig.binding.SetMicrophoneLevel(80));
    EXPECT_EQ(rig.binding.Record().micInValue, 37);
    EXPECT_EQ(rig.profile.SavedSystem("MicInValue"), 37);
    EXPECT_FALSE(rig.binding.SetMicrophoneOn(false));
    EXPECT_EQ(rig.profile.SavedSystem("MicInSelect"), 1);
    EXPECT_TRUE(rig.sound.micOn) << "the option shows what the device has";
}

TEST(HeadsetAudioBinding, LevelsAndSwitchesComeBackAfterARestart) {
    test::FakeMixerCard card = test::LinearHeadsetCard();
    for (int level = 0; level <= 100; ++level) {
        {
            CardRig before(&card);
            before.Connect();
            ASSERT_TRUE(before.binding.SetMicrophoneLevel(level));
            ASSERT_TRUE(before.binding.SetMonitorLevel(100 - level));
            ASSERT_EQ(before.binding.MonitorReadings().levelDb, number_text::Fixed2(-0.2 * level));
            ASSERT_TRUE(before.binding.SetMicrophoneOn(level % 2 == 0));
            ASSERT_TRUE(before.binding.SetMonitorOn(level % 3 == 0));
        }
        CardRig after(&card);
        after.Connect();
        const HeadsetSystemRecord& r = after.binding.Record();
        ASSERT_EQ(r.micInValue, level);
        ASSERT_EQ(r.micMoniterValue, 100 - level);
        ASSERT_EQ(r.micInSelect, level % 2 == 0 ? 1 : 0);
        ASSERT_EQ(r.micMoniterSelect, level % 3 == 0 ? 1 : 0);
        ASSERT_EQ(after.sound.micLevel, level);
    }
}

TEST(HeadsetAudioBinding, WithoutMicrophoneOrCardNothingReachesTheLibraryButTheProfileKeepsUnchecked) {
    test::FakeMixerCard speakersOnly;
    speakersOnly.Add("PCM", MixerDirection::Playback,
                     {0, 100, -5000, 50, false, {60}, std::vector<bool>{true}});
    struct Setup {
        const char* what;
        IMixerCard* card;
    } setups[] = {{"no microphone", &speakersOnly}, {"no card", nullptr}};
    for (const Setup& s : setups) {
        SCOPED_TRACE(s.what);
        CardRig rig(s.card, R"({"SystemSetStages": {"MicInSelect": 1, "MicInValue": 40, "EqType": 2}})");
        rig.Connect();
        rig.recorder.log.clear();
        EXPECT_FALSE(rig.binding.HasMicrophone());
        EXPECT_FALSE(rig.binding.SetMicrophoneLevel(10));
        EXPECT_FALSE(rig.binding.SetMicrophoneOn(false));
        EXPECT_FALSE(rig.binding.SetMonitorLevel(10));
        EXPECT_FALSE(rig.binding.ToggleMonitor());
        EXPECT_EQ(rig.binding.Record().micInValue, 40);
        EXPECT_EQ(rig.profile.SavedSystem("MicInValue"), 40);
        // Voice changer: the library is not asked for a device it does not have, the profile still keeps it.
        EXPECT_FALSE(rig.binding.SetVoiceType(3));
        EXPECT_EQ(rig.profile.SavedSystem("MagicType"), 3);
        for (const Exchange& e : rig.recorder.log) EXPECT_NE(e.device, 0) << e.property;
        for (const Exchange& e : rig.recorder.log) EXPECT_NE(e.device, 2) << e.property;
        EXPECT_EQ(rig.binding.Effects().Unavailable().size(), 5u);
        EXPECT_EQ(speakersOnly.writes, 0);
    }
}

TEST(HeadsetAudioBinding, Preset5WritesTheEqualiserOnAndTenZeros) {
    test::FakeMixerCard card = test::LinearHeadsetCard();
    CardRig rig(&card, R"({"SystemSetStages": {"EqType": 13}})");
    rig.Connect();
    rig.recorder.log.clear();
    EXPECT_FALSE(rig.binding.ChoosePreset(5)) << "the card has no equaliser";
    const std::vector<Exchange> writes = rig.recorder.Writes();
    ASSERT_EQ(writes.size(), 11u);
    EXPECT_TRUE(writes[0].IsWrite("Enable_EQ_GFX"));
    EXPECT_EQ(writes[0].value, 1);
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(writes[static_cast<std::size_t>(i + 1)].IsWrite("EQ_Slider" + std::to_string(i + 1)));
        EXPECT_EQ(writes[static_cast<std::size_t>(i + 1)].value, 0);
    }
    EXPECT_EQ(rig.sound.bands, std::vector<int>(10, 0));
    EXPECT_EQ(rig.sound.preset, 5);
    EXPECT_FALSE(rig.sound.customArea);
    EXPECT_EQ(rig.profile.SavedSystem("EqType"), 5);

    // Preset 1's table reaches the page and the band list.
    rig.binding.ChoosePreset(1);
    EXPECT_EQ(rig.binding.Bands(), (std::vector<int>{7, 11, 2, -3, -1, 4, 9, 12, 9, 5}));
    EXPECT_EQ(rig.sound.bands, rig.binding.Bands());
    EXPECT_FALSE(rig.binding.ChoosePreset(14));
    EXPECT_EQ(rig.binding.Record().eqType, 1);
}

TEST(HeadsetAudioBinding, CustomEqualisersAreAtMostTwentyWithNamesUniqueInAnyCase) {
    test::FakeMixerCard card = test::LinearHeadsetCard();
    CardRig rig(&card);
    rig.Connect();
    EXPECT_EQ(rig.binding.SaveCustomEqualiser(""), CHeadsetAudioBinding::kNotSaved)
        << "no name, nothing selected";
    rig.binding.MoveBand(0, 5);
    ASSERT_EQ(rig.binding.SaveCustomEqualiser("Rock"), CHeadsetAudioBinding::kSaved);
    EXPECT_EQ(rig.binding.SaveCustomEqualiser("ROCK"), CHeadsetAudioBinding::kNameTaken);
    EXPECT_EQ(rig.binding.SaveCustomEqualiser("rock"), CHeadsetAudioBinding::kNameTaken);
    for (int i = 2; i <= 20; ++i) {
        ASSERT_EQ(rig.binding.SaveCustomEqualiser("eq" + std::to_string(i)), CHeadsetAudioBinding::kSaved)
            << i;
    }
    EXPECT_EQ(rig.binding.SaveCustomEqualiser("one too many"), CHeadsetAudioBinding::kNotSaved);
    EXPECT_EQ(rig.binding.CustomNames().size(), 20u);
    const Json::Value saved = rig.profile.Saved();
    EXPECT_EQ(saved["CustomEQNameInfo"].size(), 20u);
    EXPECT_EQ(saved["CustomEQNameInfo"][0]["Name"].asString(), "Rock");
    EXPECT_EQ(saved["CustomEQHzValueInfo"][0][0]["value"].asInt(), 5);
    EXPECT_EQ(saved["SystemSetStages"]["CustomEqSeletIndex"].asInt(), 19);
    EXPECT_EQ(rig.sound.names.size(), 20u);
    EXPECT_EQ(rig.sound.selected, 19);

    // No name with a selection overwrites the selected one with the current bands.
    EXPECT_FALSE(rig.binding.SelectCustomEqualiser(0)) << "selected, but the card has no equaliser";
    rig.binding.MoveBand(9, -4);
    EXPECT_EQ(rig.binding.SelectedCustom(), 0)
        << "a moved band keeps the custom selection when custom is current";
    EXPECT_EQ(rig.binding.SaveCustomEqualiser(""), CHeadsetAudioBinding::kSaved);
    EXPECT_EQ(rig.profile.Saved()["CustomEQHzValueInfo"][0][9]["value"].asInt(), -4);
}

TEST(HeadsetAudioBinding, DeletingACustomEqualiserKeepsEveryOtherNameWithItsBands) {
    test::FakeMixerCard card = test::LinearHeadsetCard();
    const std::string document = R"({"SystemSetStages": {"EqType": 13, "CustomEqSeletIndex": 1},
        "EQHzValueInfo": [[], [{"value": 1}, {"value": 1}, {"value": 1}, {"value": 1}, {"value": 1},
                               {"value": 1}, {"value": 1}, {"value": 1}, {"value": 1}, {"value": 1}]],
        "CustomEQNameInfo": [{"Name": "A"}, {"Name": "B"}, {"Name": "C"}],
        "CustomEQHzValueInfo": [[{"value": 10}], [{"value": 20}], [{"value": 30}]]})";
    CardRig rig(&card, document);
    rig.Connect();
    ASSERT_EQ(rig.binding.Bands()[0], 20);
    rig.recorder.log.clear();
    ASSERT_TRUE(rig.binding.DeleteCustomEqualiser());
    EXPECT_TRUE(rig.recorder.Writes().empty());
    EXPECT_EQ(rig.binding.CustomNames(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(rig.binding.SelectedCustom(), 0);
    EXPECT_EQ(rig.binding.Bands()[0], 10);
    rig.binding.SelectCustomEqualiser(1);
    EXPECT_EQ(rig.binding.Bands()[0], 30) << "C keeps its own bands";

    ASSERT_TRUE(rig.binding.DeleteCustomEqualiser());
    ASSERT_TRUE(rig.binding.DeleteCustomEqualiser());
    EXPECT_TRUE(rig.binding.CustomNames().empty());
    EXPECT_EQ(rig.binding.Record().eqType, 1);
    EXPECT_EQ(rig.binding.Bands(), std::vector<int>(10, 1)) << "the profile's preset 1";
    EXPECT_EQ(rig.sound.preset, 1);
    EXPECT_FALSE(rig.sound.customArea);
    EXPECT_FALSE(rig.binding.DeleteCustomEqualiser());
    const Json::Value saved = rig.profile.Saved();
    EXPECT_EQ(saved["CustomEQNameInfo"].size(), 0u);
    EXPECT_EQ(saved["SystemSetStages"]["EqType"].asInt(), 1);
}

TEST(HeadsetAudioBinding, ProfileValuesOutsideTheirRangeAddNothing) {
    test::FakeMixerCard card = test::LinearHeadsetCard();
    {
        CardRig rig(&card, R"({"SystemSetStages": {"EqType": 13, "CustomEqSeletIndex": 7},
            "CustomEQNameInfo": [{"Name": "A"}], "CustomEQHzValueInfo": [[{"value": 3}]]})");
        const Json::Value before = rig.profile.data.CurrentDocument();
        rig.binding.TakeProfile();
        EXPECT_TRUE(rig.binding.Bands().empty());
        EXPECT_EQ(rig.binding.SelectedCustom(), -1);
        EXPECT_EQ(rig.profile.data.CurrentDocument(), before);
        EXPECT_FALSE(rig.binding.SelectCustomEqualiser(7));
        EXPECT_EQ(rig.profile.data.CurrentDocument(), before);
        rig.binding.ShowOnPages();
        EXPECT_EQ(rig.sound.bands, std::vector<int>(10, -99)) << "no bands shown";
    }
    {
        CardRig rig(&card, R"({"SystemSetStages": {"EqType": -3},
            "EQHzValueInfo": [[], [{"value": 4}, {"value": 4}, {"value": 4}, {"value": 4}, {"value": 4},
                                   {"value": 4}, {"value": 4}, {"value": 4}, {"value": 4}, {"value": 4}]]})");
        rig.binding.TakeProfile();
        EXPECT_EQ(rig.binding.Record().eqType, 0);
        EXPECT_EQ(rig.binding.Bands(), std::vector<int>(10, 4));
    }
}

TEST(HeadsetAudioBinding, VoiceSelection2ShowsType3AndTheFeatureBitKeepsTheSwitch) {
    struct Case {
        const char* features;
        const char* selection;
        int type;
        int enable;
    } cases[] = {
        {"131072,0,0,0,5,0,9", "2", 3, 1},  // 0x20000: the voice changer exists
        {"0,0,0,0,0,0,0", "0", 1, 0},
        {"131072,0,0", "3", 4, 0},          // too short: no feature words
        {"131072,0,0,0,0,0,0", "7", 2, 1},  // no such type: the profile's stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.features);
        test::ScriptedLibrary lib;
        lib.playback = {{11, 1, 0, 1}};
        lib.capture = {{22, 2, 0, 1}};
        lib.answers = {{"22:GetSupportFeature", c.features},
                       {"Enable_MAGICVOICE", "1"},
                       {"MagicVoice_Selection", c.selection}};
        test::HeadsetProfile profile(R"({"SystemSetStages": {"MagicType": 2}})");
        CHeadsetAudioBinding binding(lib, profile.data);
        test::FakeVoicePage voice;
        binding.SetPages(nullptr, &voice);
        binding.TakeProfile();
        binding.Start();
        binding.ShowOnPages();
        EXPECT_EQ(binding.Record().magicType, c.type);
        EXPECT_EQ(voice.type, c.type);
        EXPECT_EQ(binding.Record().magicEnable, c.enable);
    }
}

TEST(HeadsetAudioBinding, ChoosesTheFirstUsableHeadphonesByTypeAndSetsOnlyUnreadableDefaults) {
    test::ScriptedLibrary lib;
    lib.playback = {{31, 4, 0, 1}, {32, 12, 0, 0}, {33, 7, 0, 1}, {34, 1, 0, 0}};
    lib.capture = {{41, 3, 0, 1}, {42, 2, 0, 0}};
    lib.answers = {{"Enable_EQ_GFX", "1"}, {"MuteControl", "0"}};
    test::HeadsetProfile profile;
    CHeadsetAudioBinding binding(lib, profile.data);
    binding.Start();

    std::set<std::string> written;
    for (const Exchange& e : lib.log) {
        if (e.property == "Enable_EQ_GFX" || e.property == "EQ_Slider1") {
            EXPECT_EQ(e.device, 33);
        }
        if (e.property == "MuteControl" || e.property == "AAMuteControl") {
            EXPECT_EQ(e.device, 42);
        }
        if (e.access == PropertyAccess::Write) {
            EXPECT_EQ(e.value, 0) << e.property;
            written.insert(e.property);
        }
    }
    EXPECT_FALSE(written.count("Enable_EQ_GFX")) << "read, so left alone";
    EXPECT_FALSE(written.count("MuteControl"));
    for (const char* p : {"VirtualSurroundEffectControl", "Enable_ENC_LFX", "VolumeControl", "EQ_Slider10",
                          "RFX_ROOMSIZE", "AAVolumeScalarControl", "MagicVoice_Selection"}) {
        EXPECT_TRUE(written.count(p)) << p;
    }
    EXPECT_EQ(binding.Effects().Unavailable(),
              (std::vector<std::string>{"surround", "reverb", "noise-cancelling", "voice-changer"}));
}

TEST(HeadsetAudioBinding, AGermanLocaleReadsAndWritesTheSameLevels) {
    test::GermanLocale german;
    if (!german.Active()) GTEST_SKIP() << "no de_DE locale on this system and localedef could not make one";
    test::FakeMixerCard card = test::LinearHeadsetCard();
    card.At({"Mic", MixerDirection::Capture}).raw = {29};
    CardRig rig(&card);
    rig.Connect();
    EXPECT_EQ(rig.binding.Record().micInValue, 29);
    ASSERT_TRUE(rig.binding.SetMicrophoneLevel(37));
    EXPECT_EQ(card.At({"Mic", MixerDirection::Capture}).raw[0], 37);
    EXPECT_EQ(rig.profile.SavedSystem("MicInValue"), 37);
}

}  // namespace
}  // namespace zevik

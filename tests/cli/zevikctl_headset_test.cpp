// zevikctl headset run as a process against the emulated headset: words checked before anything
// opens, microphone and monitoring on the emulated sound card and back after a restart, the effects
// the card lacks said but kept in the profile, the custom equalisers, batch lines.

#include <gtest/gtest.h>
#include <json/json.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "process_run.h"

namespace {

using zevik::test::Outcome;
using zevik::test::ParseJson;

Outcome Zevikctl(const std::string& arguments) {
    return zevik::test::RunZevikctl(arguments, "2>&1");
}

class ZevikctlHeadsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-headset-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::string Emulate() const {
        return "--emulate headset --emulator-state " + File("state.json") + " --data-dir " + File("data");
    }
    Json::Value Show() const {
        const Outcome run = Zevikctl("--json " + Emulate() + " headset show");
        EXPECT_EQ(run.exitCode, 0) << run.out;
        return ParseJson(run.out);
    }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlHeadsetTest, WordsOutsideTheirRangeAreRefusedBeforeAnythingOpens) {
    const struct {
        const char* words;
        const char* message;
    } cases[] = {
        {"mic 101", "0 to 100"},         {"monitor -1", "0 to 100"},       {"mic-on 2", "0 to 1"},
        {"monitor-on x", "0 to 1"},      {"eq 0", "1 to 13"},              {"eq 14", "1 to 13"},
        {"eq-band 0 1", "1 to 10"},      {"eq-band 11 1", "1 to 10"},      {"eq-band 1 21", "-20 to 20"},
        {"eq-band 1 -21", "-20 to 20"},  {"eq-band 1", "takes 2 arguments"}, {"eq-select 0", "1 to 20"},
        {"voice 2", "0 to 1"},           {"voice-type 5", "1 to 4"},       {"voice-type 0", "1 to 4"},
        {"eq-save a b", "at most 1"},    {"show now", "no argument"},      {"defaults 1", "no argument"},
        {"louder", "unknown headset command"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(File("data"));
        std::filesystem::remove(File("log.txt"));
        const Outcome run = Zevikctl("--emulate headset --emulator-log " + File("log.txt") + " --data-dir " +
                                     File("data") + " headset " + c.words);
        EXPECT_EQ(run.exitCode, 2) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.words << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(File("log.txt")) && std::filesystem::file_size(File("log.txt")) > 0)
            << c.words << ": reports were exchanged";
        EXPECT_FALSE(std::filesystem::exists(File("data"))) << c.words << ": the data folder was written";
    }
}

TEST_F(ZevikctlHeadsetTest, MicrophoneAndMonitoringReachTheCardAndComeBack) {
    for (const char* words : {"mic 37", "mic-on 0", "monitor 60", "monitor-on 1"}) {
        const Outcome run = Zevikctl(Emulate() + " headset " + words);
        ASSERT_EQ(run.exitCode, 0) << words << "\n" << run.out;
    }
    // Bytes 2-5 of the card: microphone level and switch, sidetone level and switch.
    const Outcome card = Zevikctl(Emulate() + " emulator read headset mixer 0 6");
    ASSERT_EQ(card.exitCode, 0) << card.out;
    EXPECT_EQ(card.out.substr(9, 2), "00") << card.out;  // the microphone's switch: muted
    EXPECT_EQ(card.out.substr(15, 2), "01") << card.out;  // the sidetone's switch: on

    // A new profile folder: what shows comes from the card.
    std::filesystem::remove_all(File("data"));
    const Json::Value shown = Show();
    EXPECT_EQ(shown["sound-card"].asString(), "ZEVIK HS6533 (emulated)");
    EXPECT_EQ(shown["mic"].asString(), "off");
    EXPECT_EQ(shown["mic-level"].asInt(), 37);
    EXPECT_EQ(shown["monitor"].asString(), "on");
    EXPECT_NEAR(shown["monitor-level"].asInt(), 60, 1) << "the sidetone's nearest of its 33 steps";
}

TEST_F(ZevikctlHeadsetTest, EqualiserAndVoiceChangerAreNotAppliedYetKept) {
    for (const char* words : {"eq 7", "voice 1", "voice-type 3"}) {
        const Outcome run = Zevikctl(Emulate() + " headset " + words);
        EXPECT_EQ(run.exitCode, 0) << words << "\n" << run.out;
        EXPECT_NE(run.out.find("not applied"), std::string::npos) << words << "\n" << run.out;
    }
    const Json::Value shown = Show();
    EXPECT_EQ(shown["equaliser"].asInt(), 7);
    EXPECT_EQ(shown["voice-changer"].asString(), "on");
    EXPECT_EQ(shown["voice-type"].asInt(), 3);
    ASSERT_EQ(shown["bands"].size(), 10u);
    EXPECT_EQ(shown["bands"][0].asInt(), 14);
    Json::Value unavailable(Json::arrayValue);
    for (const char* effect : {"equaliser", "surround", "reverb", "noise-cancelling", "voice-changer"})
        unavailable.append(effect);
    EXPECT_EQ(shown["unavailable"], unavailable);

    const Outcome text = Zevikctl(Emulate() + " headset show");
    ASSERT_EQ(text.exitCode, 0) << text.out;
    EXPECT_NE(text.out.find("unavailable: equaliser, surround, reverb, noise-cancelling, voice-changer\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("bands: 14 10 4 0 -4 -3 -1 1 2 3\n"), std::string::npos) << text.out;
}

TEST_F(ZevikctlHeadsetTest, CustomEqualisersAreSavedSelectedAndDeletedInOneBatch) {
    const std::string script =
        "headset eq-band 1 5\n"
        "headset eq-save Mine\n"
        "headset eq 2\n"
        "headset eq-save MINE\n";
    {
        std::ofstream(File("script.txt")) << script;
    }
    const Outcome taken = Zevikctl(Emulate() + " batch < " + File("script.txt"));
    EXPECT_EQ(taken.exitCode, 1) << taken.out;
    EXPECT_NE(taken.out.find("line 4"), std::string::npos) << taken.out;
    EXPECT_NE(taken.out.find("message_text_5"), std::string::npos) << taken.out;

    Json::Value shown = Show();
    ASSERT_EQ(shown["custom"].size(), 1u);
    EXPECT_EQ(shown["custom"][0].asString(), "Mine");

    ASSERT_EQ(Zevikctl(Emulate() + " headset eq-select 1").exitCode, 0);
    shown = Show();
    EXPECT_EQ(shown["custom-selected"].asInt(), 1);
    EXPECT_EQ(shown["equaliser"].asInt(), 13) << "choosing one's own equaliser chooses the custom preset";
    EXPECT_EQ(shown["bands"][0].asInt(), 5);

    const Outcome beyond = Zevikctl(Emulate() + " headset eq-select 2");
    EXPECT_EQ(beyond.exitCode, 2) << beyond.out;
    EXPECT_NE(beyond.out.find("1 to 1"), std::string::npos) << beyond.out;

    ASSERT_EQ(Zevikctl(Emulate() + " headset eq-delete").exitCode, 0);
    shown = Show();
    EXPECT_EQ(shown["custom"].size(), 0u);
    EXPECT_EQ(shown["equaliser"].asInt(), 1);
    const Outcome none = Zevikctl(Emulate() + " headset eq-delete");
    EXPECT_EQ(none.exitCode, 1) << none.out;
}

TEST_F(ZevikctlHeadsetTest, LightingWordsActOnTheHeadsetsPageAndBlock) {
    const Outcome refused = Zevikctl(Emulate() + " headset lighting mode 9");
    EXPECT_EQ(refused.exitCode, 2) << refused.out;
    EXPECT_FALSE(std::filesystem::exists(File("data")));

    ASSERT_EQ(Zevikctl(Emulate() + " headset lighting mode 3").exitCode, 0);
    const Outcome shown = Zevikctl("--json " + Emulate() + " headset lighting show");
    ASSERT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_EQ(ParseJson(shown.out)["mode"].asInt(), 3);
    // The block's mode code went to the headset.
    const Outcome block = Zevikctl(Emulate() + " emulator read headset memory 1 1");
    ASSERT_EQ(block.exitCode, 0) << block.out;
    EXPECT_EQ(block.out, "03\n");
}

TEST_F(ZevikctlHeadsetTest, WithoutAHeadsetACommandFailsWithTheReason) {
    const Outcome run = Zevikctl("--emulate mouse --data-dir " + File("data") + " headset show");
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_NE(run.out.find("no headset"), std::string::npos) << run.out;
}

}  // namespace

// zevikctl music and audio run as processes: words checked before anything opens, a change kept in
// "AudioFile.json" for the next run, and our capture's word without a sound server and (beside the
// tests' own server, tests/with_sound_server.sh) with one.

#include <gtest/gtest.h>
#include <json/json.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "process_run.h"

namespace {

using zevik::test::Outcome;
using zevik::test::ParseJson;

class ZevikctlMusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-music-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    Outcome Music(const std::string& words) const {
        return zevik::test::RunZevikctl("--emulate keyboard --data-dir " + (dir_ / "data").string() + " " + words);
    }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlMusicTest, OutOfRangeWordsAreRefusedBeforeAnythingOpens) {
    const struct {
        const char* words;
        const char* message;
    } cases[] = {{"music group 0 1 1 1", "1..4"}, {"music group 5 1 1 1", "1..4"}, {"music group 1 1 10 1", "0..9"},
                 {"music name 9 x", "1..4"},      {"music group 1 1 1", "group N R G B"}, {"audio levels --seconds 0", "1..3600"},
                 {"audio levels --seconds 2.5", "1..3600"}};
    for (const auto& c : cases) {
        const Outcome run = Music(c.words);
        EXPECT_EQ(run.exitCode, 2) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.words << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(dir_ / "data")) << c.words;
    }
}

TEST_F(ZevikctlMusicTest, AChangeThroughTheWindowIsKeptForTheNextRun) {
    const Outcome group = Music("music group 4 0 0 9");
    ASSERT_EQ(group.exitCode, 0) << group.out;
    EXPECT_NE(group.out.find("style: 4\n"), std::string::npos) << group.out;
    ASSERT_EQ(Music("music name 2 Bass").exitCode, 0);
    const Outcome show = Music("--json music show");
    ASSERT_EQ(show.exitCode, 0) << show.out;
    const Json::Value doc = ParseJson(show.out.substr(show.out.find('{')));
    EXPECT_EQ(doc["style"].asInt(), 4);
    EXPECT_EQ(doc["groups"][3]["green"].asInt(), 0);
    EXPECT_EQ(doc["groups"][3]["blue"].asInt(), 9);
    EXPECT_EQ(doc["groups"][1]["name"].asString(), "Bass");
    EXPECT_EQ(doc["groups"][0]["name"].asString(), "第一组");
}

TEST_F(ZevikctlMusicTest, LevelsWithoutASoundServerSayWhyAndExitOne) {
    // A server address that cannot be reached stands for a session without sound.
    const Outcome run = zevik::test::RunShell("PULSE_SERVER=unix:/nonexistent/socket " + std::string(ZEVIKCTL_PATH) +
                                              " audio levels --seconds 1");
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_NE(run.out.find("no sound server"), std::string::npos) << run.out;
}

TEST_F(ZevikctlMusicTest, LevelsFromTheTestsOwnSoundServerPrintARecordEveryTwentyMilliseconds) {
    if (std::getenv("ZEVIK_TEST_SOUND_SERVER_PID") == nullptr)
        GTEST_SKIP() << "runs beside the tests' own server";
    const Outcome run =
        zevik::test::RunShell(std::string(ZEVIKCTL_PATH) + " audio levels --seconds 3 --json");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const Json::Value doc = ParseJson(run.out.substr(run.out.find('{')));
    // An output that plays nothing sends its monitor's first fragment only after its idle period
    // (two seconds for the null sink); from then on one record every 20 ms.
    EXPECT_GE(doc["records"].size(), 25u) << run.out;
    EXPECT_LE(doc["records"].size(), 152u) << run.out;
    // Its output plays nothing: every band is silent.
    for (const Json::Value& record : doc["records"]) {
        ASSERT_EQ(record.size(), 25u);
        for (const Json::Value& level : record) EXPECT_EQ(level.asInt(), 0);
    }
}

}  // namespace

// zevikctl mouse lighting run as a process against the emulated mouse: refused words open nothing,
// show, modes and frame print one JSON document, and the changing words reach the mouse's block.

#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "process_run.h"

namespace {

using zevik::test::Outcome;
using zevik::test::ParseJson;

// stdout and stderr together, or stdout alone.
Outcome Zevikctl(const std::string& arguments, bool withErrors = true) {
    return zevik::test::RunZevikctl(arguments, withErrors ? "2>&1" : "2>/dev/null");
}

class ZevikctlLightingTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-lighting-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    // The mouse kept between runs: its memory in a state file, its profile in a data folder.
    std::string Emulated() const {
        return "--emulate mouse --emulator-state " + File("state.json") + " --data-dir " + File("data");
    }
    Outcome Lighting(const std::string& words, bool json = false) {
        return Zevikctl(Emulated() + (json ? " --json" : "") + " mouse lighting " + words, !json);
    }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlLightingTest, RefusedWordsExitTwoAndOpenNothing) {
    const struct {
        const char* words;
        const char* says;
    } cases[] = {
        {"", "lighting takes"},          {"glow", "unknown lighting word"},
        {"show 1", "0 argument"},        {"mode", "1 argument"},
        {"mode 12", "0 to 11"},          {"mode -1", "0 to 11"},
        {"mode 11", "hidden item"},      {"mode two", "0 to 11"},
        {"brightness 5", "0 to 4"},      {"speed -1", "0 to 4"},
        {"direction 2", "0 to 1"},       {"multicolor 2", "0 to 1"},
        {"option 0", "1 to 8"},          {"option 9", "1 to 8"},
        {"color 12345", "RRGGBB"},       {"color 12345G", "RRGGBB"},
        {"color 0X12AB", "RRGGBB"},      {"rgb X 1", "R, G or B"},
        {"rgb r 1", "R, G or B"},        {"rgb R 1 2", "1 or 2 argument"},
        {"same-mode now", "0 argument"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(File("data"));
        std::filesystem::remove(File("log.txt"));
        const Outcome run = Zevikctl("--emulate mouse --emulator-log " + File("log.txt") + " --data-dir " +
                                     File("data") + " mouse lighting " + c.words);
        EXPECT_EQ(run.exitCode, 2) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.words << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(File("log.txt")) &&
                     std::filesystem::file_size(File("log.txt")) > 0)
            << c.words << ": reports were exchanged";
        EXPECT_FALSE(std::filesystem::exists(File("data"))) << c.words << ": the data folder was written";
    }
}

TEST_F(ZevikctlLightingTest, ShowModesAndFramePrintOneJsonDocument) {
    ASSERT_EQ(Lighting("mode 2").exitCode, 0);
    ASSERT_EQ(Lighting("brightness 3").exitCode, 0);

    const Json::Value show = ParseJson(Lighting("show", true).out);
    EXPECT_EQ(show["mode"].asInt(), 2);
    EXPECT_EQ(show["mode-name"].asString(), "Breathing");
    EXPECT_EQ(show["brightness"].asInt(), 3);
    EXPECT_TRUE(show["color"].isString());
    for (const char* key : {"speed", "direction", "multicolor", "old-mode", "same-mode", "offered"})
        EXPECT_TRUE(show[key].isInt()) << key;
    EXPECT_EQ(show["offered"].asInt(), 0) << "the mouse offers the same effect in no mode";

    const Json::Value modes = ParseJson(Lighting("modes", true).out)["modes"];
    ASSERT_EQ(modes.size(), 12u);
    EXPECT_EQ(modes[2]["name"].asString(), "Breathing");
    EXPECT_EQ(modes[2]["value"].asInt(), 2);
    EXPECT_FALSE(modes[2]["hidden"].asBool());
    EXPECT_TRUE(modes[11]["hidden"].asBool());

    const Json::Value frame = ParseJson(Lighting("frame", true).out)["leds"];
    ASSERT_EQ(frame.size(), 15u) << "one entry per LED of the drawn mouse";
    for (const Json::Value& led : frame) {
        EXPECT_EQ(led["color"].asString().size(), 6u);
        EXPECT_LE(led["intensity"].asInt(), 255);
    }

    // The text forms carry the same lines.
    const Outcome text = Lighting("show");
    EXPECT_NE(text.out.find("mode: 2 Breathing\nbrightness: 3\n"), std::string::npos) << text.out;
    const Outcome list = Lighting("modes");
    EXPECT_NE(list.out.find("2 2 Breathing\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("11 11 Custom sequence 2 hidden\n"), std::string::npos) << list.out;
}

TEST_F(ZevikctlLightingTest, ChangesReachTheMouseAndRefusalsWriteNothing) {
    ASSERT_EQ(Lighting("mode 1").exitCode, 0);
    ASSERT_EQ(Lighting("color 12AB34").exitCode, 0);
    ASSERT_EQ(Lighting("rgb G 300").exitCode, 0);
    ASSERT_EQ(Lighting("speed 4").exitCode, 0);
    const Json::Value show = ParseJson(Lighting("show", true).out);
    EXPECT_EQ(show["color"].asString(), "12FF34");
    EXPECT_EQ(show["speed"].asInt(), 4);
    EXPECT_EQ(show["multicolor"].asInt(), 0);

    // Breathing (2) offers no colour: the palette cannot be used, and nothing is written.
    ASSERT_EQ(Lighting("mode 2").exitCode, 0);
    const Outcome refused = Lighting("color 000000");
    EXPECT_EQ(refused.exitCode, 1) << refused.out;
    EXPECT_NE(refused.out.find("does not offer"), std::string::npos) << refused.out;
    const Outcome same = Lighting("same-mode");
    EXPECT_EQ(same.exitCode, 1) << same.out;
    EXPECT_NE(same.out.find("not offered"), std::string::npos) << same.out;
    EXPECT_EQ(ParseJson(Lighting("show", true).out)["color"].asString(), "12FF34");

    // The mouse's memory holds the block: mode code 2, speed 4 stored inverted, the colour.
    const Outcome raw = Zevikctl(Emulated() + " raw read --device mouse 0 9");
    ASSERT_EQ(raw.exitCode, 0) << raw.out;
    std::istringstream bytes(raw.out);
    std::vector<int> block;
    for (std::string pair; bytes >> pair && block.size() < 9;) block.push_back(std::stoi(pair, nullptr, 16));
    ASSERT_EQ(block.size(), 9u) << raw.out;
    EXPECT_EQ(block[1], 2);
    EXPECT_EQ(block[3], 0);
    EXPECT_EQ(block[6], 0x12);
    EXPECT_EQ(block[7], 0xFF);
    EXPECT_EQ(block[8], 0x34);
}

TEST_F(ZevikctlLightingTest, BatchTakesTheLightingWords) {
    std::ofstream(File("script.txt"))
        << "mouse lighting mode 3\nmouse lighting brightness 1\nmouse lighting show\n";
    const Outcome run = Zevikctl(Emulated() + " batch < " + File("script.txt"));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("mode: 3 Static\nbrightness: 1\n"), std::string::npos) << run.out;

    std::ofstream(File("bad.txt")) << "mouse lighting mode 3\nmouse lighting option 9\n";
    const Outcome bad =
        Zevikctl("--emulate mouse --data-dir " + File("fresh") + " batch < " + File("bad.txt"));
    EXPECT_EQ(bad.exitCode, 2) << bad.out;
    EXPECT_NE(bad.out.find("line 2"), std::string::npos) << bad.out;
    EXPECT_FALSE(std::filesystem::exists(File("fresh"))) << "the good first line ran";
}

}  // namespace

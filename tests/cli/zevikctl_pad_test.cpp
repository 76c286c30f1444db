// zevikctl pad run as a process against the emulated mousepad: words checked before anything opens,
// the lighting reaching the pad's block, the phone on the charger, batch lines.

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

Outcome Zevikctl(const std::string& arguments, const std::string& errorFile = {}) {
    return zevik::test::RunZevikctl(arguments, errorFile.empty() ? "2>&1" : "2>" + errorFile);
}

class ZevikctlPadTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-pad-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::string Emulate(const std::string& list = "mousepad") const {
        return "--emulate " + list + " --emulator-state " + File("state.json") + " --data-dir " + File("data");
    }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlPadTest, WordsOutsideTheirRangeAreRefusedBeforeAnythingOpens) {
    const struct {
        const char* words;
        const char* message;
    } cases[] = {
        {"lighting mode 9", "0 to 8"},   {"lighting speed 5", "0 to 4"},
        {"lighting color 12", "RRGGBB"}, {"lighting option 0", "1 to 8"},
        {"show now", "takes no argument"}, {"toast", "unknown pad command"},
        {"lighting", "lighting takes"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(File("data"));
        std::filesystem::remove(File("log.txt"));
        const Outcome run = Zevikctl("--emulate mousepad --emulator-log " + File("log.txt") + " --data-dir " +
                                     File("data") + " pad " + c.words);
        EXPECT_EQ(run.exitCode, 2) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.words << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(File("log.txt")) && std::filesystem::file_size(File("log.txt")) > 0)
            << c.words << ": reports were exchanged";
        EXPECT_FALSE(std::filesystem::exists(File("data"))) << c.words << ": the data folder was written";
    }
}

TEST_F(ZevikctlPadTest, LightingReachesThePadsBlockAndKeepsItsOwnBytes) {
    for (const char* words : {"lighting mode 3", "lighting color 102030", "lighting speed 1"}) {
        const Outcome run = Zevikctl(Emulate() + " pad " + words);
        ASSERT_EQ(run.exitCode, 0) << words << "\n" << run.out;
    }
    // Slot, mode code, brightness, 4 - speed, direction, multicolour, colour; then bytes the pad keeps.
    const Outcome block = Zevikctl(Emulate() + " emulator read mousepad memory 0 12");
    ASSERT_EQ(block.exitCode, 0) << block.out;
    EXPECT_EQ(block.out, "00 03 04 03 01 00 10 20 30 a9 aa ab\n");
    const Outcome shown = Zevikctl(Emulate() + " pad lighting show --json", File("err.txt"));
    ASSERT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_EQ(ParseJson(shown.out)["mode-name"].asString(), "Static");
}

TEST_F(ZevikctlPadTest, ShowTellsThePhoneOnTheCharger) {
    std::ofstream(File("script.txt")) << "pad show\n"
                                         "emulator phone mousepad 2\n"
                                         "pad show\n"
                                         "emulator phone mousepad 3\n"
                                         "pad show\n";
    const Outcome run = Zevikctl(Emulate() + " batch < " + File("script.txt"));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out,
              "connection: cable\nactive slot: 0\nphone: none\n"
              "connection: cable\nactive slot: 0\nphone: samsung\n"
              "connection: cable\nactive slot: 0\nphone: other\n");

    std::ofstream(File("phone.txt")) << "emulator phone mousepad 1\n";
    ASSERT_EQ(Zevikctl(Emulate() + " batch < " + File("phone.txt")).exitCode, 0);
    const Outcome json = Zevikctl(Emulate() + " pad show --json", File("err.txt"));
    ASSERT_EQ(json.exitCode, 0) << json.out;
    const Json::Value doc = ParseJson(json.out);
    EXPECT_EQ(doc["phone"].asString(), "iphone");
    EXPECT_EQ(doc["connection"].asString(), "cable");
    EXPECT_EQ(doc["active-slot"].asInt(), 0);

    std::ofstream(File("bad.txt")) << "emulator phone mousepad 4\n";
    const Outcome bad = Zevikctl(Emulate() + " batch < " + File("bad.txt"));
    EXPECT_EQ(bad.exitCode, 1) << bad.out;
    EXPECT_NE(bad.out.find("0 to 3"), std::string::npos) << bad.out;
}

TEST_F(ZevikctlPadTest, WithoutAPadItSaysSoAndExitsOne) {
    for (const char* list : {"mousepad@unplugged", "mouse"}) {
        const Outcome run = Zevikctl(std::string("--emulate ") + list + " --data-dir " + File("data") + " pad show");
        EXPECT_EQ(run.exitCode, 1) << list << "\n" << run.out;
        EXPECT_NE(run.out.find("no mousepad is connected"), std::string::npos) << run.out;
    }
}

}  // namespace

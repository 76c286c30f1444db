// zevikctl keyboard run as a process against the emulated keyboard: words checked before anything
// opens, settings reaching the keyboard and the profile, the receiver after the cable goes, batch lines.

#include <gtest/gtest.h>
#include <json/json.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "process_run.h"

namespace {

using zevik::test::Outcome;
using zevik::test::ParseJson;

Outcome Zevikctl(const std::string& arguments, const std::string& errorFile = {}) {
    return zevik::test::RunZevikctl(arguments, errorFile.empty() ? "2>&1" : "2>" + errorFile);
}

class ZevikctlKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-keyboard-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::string Emulate(const std::string& list = "keyboard") const {
        return "--emulate " + list + " --emulator-state " + File("state.json") + " --data-dir " + File("data");
    }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlKeyboardTest, ValuesOutsideTheirRangeAreRefusedBeforeAnythingOpens) {
    const struct {
        const char* words;
        const char* message;
    } cases[] = {
        {"rate 5", "0 to 4"},          {"rate -1", "0 to 4"},        {"winlock 2", "0 to 1"},
        {"wflag 2", "0 to 1"},         {"six-key x", "0 to 1"},      {"repeat 32", "0 to 31"},
        {"repeat-delay 4", "0 to 3"},  {"rate", "takes 1 argument"}, {"show now", "takes no argument"},
        {"toast 1", "unknown keyboard command"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(File("data"));
        std::filesystem::remove(File("log.txt"));
        const Outcome run = Zevikctl("--emulate keyboard --emulator-log " + File("log.txt") + " --data-dir " +
                                     File("data") + " keyboard " + c.words);
        EXPECT_EQ(run.exitCode, 2) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.words << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(File("log.txt")) && std::filesystem::file_size(File("log.txt")) > 0)
            << c.words << ": reports were exchanged";
        EXPECT_FALSE(std::filesystem::exists(File("data"))) << c.words << ": the data folder was written";
    }
    // Its receiver alone would be taken for its cable.
    const Outcome receiver = Zevikctl("--emulate keyboard@receiver --data-dir " + File("data") + " keyboard show");
    EXPECT_EQ(receiver.exitCode, 2) << receiver.out;
    EXPECT_NE(receiver.out.find("keyboard@both"), std::string::npos) << receiver.out;
    EXPECT_FALSE(std::filesystem::exists(File("data")));
}

TEST_F(ZevikctlKeyboardTest, SettingsReachTheKeyboardAndTheProfile) {
    for (const char* words : {"rate 4", "winlock 1", "wflag 1", "six-key 1", "repeat 9", "repeat-delay 3"}) {
        const Outcome run = Zevikctl(Emulate() + " keyboard " + words);
        ASSERT_EQ(run.exitCode, 0) << words << "\n" << run.out;
    }
    // Bytes 19 to 22 of the active block: W flag, six-key, Windows lock, report rate.
    const Outcome block = Zevikctl(Emulate() + " emulator read keyboard memory 19 4");
    ASSERT_EQ(block.exitCode, 0) << block.out;
    EXPECT_EQ(block.out, "01 01 01 04\n");

    const Outcome text = Zevikctl(Emulate() + " keyboard show");
    ASSERT_EQ(text.exitCode, 0) << text.out;
    const Outcome json = Zevikctl(Emulate() + " keyboard show --json", File("err.txt"));
    ASSERT_EQ(json.exitCode, 0) << json.out;
    const Json::Value doc = ParseJson(json.out);
    ASSERT_TRUE(doc.isObject());
    EXPECT_EQ(doc["connection"].asString(), "cable");
    EXPECT_EQ(doc["positions"].asInt(), 109);
    EXPECT_EQ(doc["rate"].asInt(), 4);
    EXPECT_EQ(doc["repeat"].asInt(), 9);
    EXPECT_EQ(doc["repeat-delay"].asInt(), 3);
    // Each line of the text form is a field of the document.
    std::istringstream lines(text.out);
    int fields = 0;
    for (std::string line; std::getline(lines, line);) {
        std::string key = line.substr(0, line.find(':'));
        const std::string shown = line.substr(line.find(": ") + 2);
        std::replace(key.begin(), key.end(), ' ', '-');
        ASSERT_TRUE(doc.isMember(key)) << key;
        EXPECT_EQ(doc[key].isString() ? doc[key].asString() : std::to_string(doc[key].asInt()), shown) << key;
        ++fields;
    }
    EXPECT_EQ(fields, 9);
}

// The lighting words of the mouse act on the keyboard's page: the mode reaches the block, and the
// custom-colour words work once the custom colours are the mode.
TEST_F(ZevikctlKeyboardTest, LightingWordsReachTheKeyboardAndOpenTheCustomColours) {
    for (const char* words : {"lighting brightness 5", "lighting mode 19", "lighting mode 31", "lighting toast"}) {
        const Outcome run = Zevikctl(Emulate() + " keyboard " + words);
        EXPECT_EQ(run.exitCode, 2) << words << "\n" << run.out;
    }
    EXPECT_EQ(Zevikctl(Emulate() + " keyboard lighting custom-key 5").exitCode, 1) << "not in mode 20";
    for (const char* words : {"lighting mode 20", "lighting color 00FF80", "lighting brightness 2"}) {
        const Outcome run = Zevikctl(Emulate() + " keyboard " + words);
        ASSERT_EQ(run.exitCode, 0) << words << "\n" << run.out;
    }
    // Bytes 1, 2, 6-8 of the block: mode code, brightness, colour.
    const Outcome block = Zevikctl(Emulate() + " emulator read keyboard memory 0 9");
    EXPECT_EQ(block.out, "00 14 02 02 00 00 00 ff 80\n");
    EXPECT_EQ(Zevikctl(Emulate() + " keyboard lighting custom-key 5").exitCode, 0);
    const Outcome shown = Zevikctl(Emulate() + " keyboard lighting show --json", File("err.txt"));
    ASSERT_EQ(shown.exitCode, 0) << shown.out;
    const Json::Value doc = ParseJson(shown.out);
    EXPECT_EQ(doc["mode"].asInt(), 20);
    EXPECT_EQ(doc["color"].asString(), "00FF80");
}

TEST_F(ZevikctlKeyboardTest, WithoutAKeyboardItSaysSoAndExitsOne) {
    for (const char* list : {"keyboard@unplugged", "mouse"}) {
        const Outcome run = Zevikctl(std::string("--emulate ") + list + " --data-dir " + File("data") + " keyboard show");
        EXPECT_EQ(run.exitCode, 1) << list << "\n" << run.out;
        EXPECT_NE(run.out.find("no keyboard is connected"), std::string::npos) << run.out;
    }
}

TEST_F(ZevikctlKeyboardTest, BatchRunsKeyboardLinesByCableAndThroughTheReceiver) {
    std::ofstream(File("script.txt")) << "keyboard winlock 1\n"
                                         "emulator notify keyboard 0x1005\n"
                                         "wait 100\n"
                                         "keyboard show\n"
                                         "emulator notify keyboard 0x1000\n"
                                         "wait 100\n"
                                         "emulator unplug keyboard\n"
                                         "wait 400\n"
                                         "keyboard show\n"
                                         "keyboard wflag 1\n"
                                         "emulator read keyboard memory 19 3\n";
    const Outcome run = Zevikctl(Emulate("keyboard@both") + " batch < " + File("script.txt"));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("active slot: 5\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("connection: receiver"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("01 00 01\n"), std::string::npos) << run.out;

    std::ofstream(File("bad.txt")) << "keyboard rate 1\nkeyboard repeat 40\n";
    const Outcome bad = Zevikctl("--emulate keyboard --data-dir " + File("data2") + " batch < " + File("bad.txt"));
    EXPECT_EQ(bad.exitCode, 2) << bad.out;
    EXPECT_NE(bad.out.find("line 2"), std::string::npos) << bad.out;
    EXPECT_NE(bad.out.find("0 to 31"), std::string::npos) << bad.out;
    EXPECT_FALSE(std::filesystem::exists(File("data2"))) << "the good first line ran";
}

}  // namespace

// zevikctl keyboard key, key2, defaults and the custom-colour words as processes against the emulated
// keyboard: refused words open nothing, both layers reach their own tables and the profile, macros
// that do not fit send nothing, and batch lines take the same words.

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

Outcome Zevikctl(const std::string& arguments) { return zevik::test::RunZevikctl(arguments, "2>&1"); }

class ZevikctlKeyboardKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-kbd-keys-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::string Emulated() const {
        return "--emulate keyboard --emulator-state " + File("state.json") + " --data-dir " + File("data");
    }
    Outcome Keyboard(const std::string& words, bool json = false) {
        return Zevikctl(Emulated() + (json ? " --json" : "") + " keyboard " + words);
    }
    std::string Read(const std::string& area, int address, int length) {
        return Zevikctl(Emulated() + " emulator read keyboard " + area + " " + std::to_string(address) + " " +
                        std::to_string(length))
            .out;
    }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlKeyboardKeysTest, RefusedWordsExitTwoAndOpenNothing) {
    const struct {
        const char* words;
        const char* says;
    } cases[] = {
        {"key", "key takes list, set K FUNCTION or write"},
        {"key set 0 default", "K takes 1 to 170"},
        {"key2 set 171 default", "K takes 1 to 170"},
        {"key2 set 3 macro 1 0", "layer 2 binds no macros"},
        {"key set 3 wheel 0 16 0 0", "DELAY must be a number from 0 to 15"},
        {"defaults 1", "takes no more words"},
        {"lighting zzcc 256", "zzcc takes 0 to 255"},
        {"lighting custom-slot 256", "S takes 0 to 255"},
        {"lighting custom-key 0", "K takes 1 to 170"},
        {"lighting custom-all 2", "custom-all takes 0 to 1"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(File("data"));
        std::filesystem::remove(File("log.txt"));
        const Outcome run = Zevikctl("--emulate keyboard --emulator-log " + File("log.txt") + " --data-dir " +
                                     File("data") + " keyboard " + c.words);
        EXPECT_EQ(run.exitCode, 2) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.words << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(File("log.txt")) && std::filesystem::file_size(File("log.txt")) > 0)
            << c.words << ": reports were exchanged";
        EXPECT_FALSE(std::filesystem::exists(File("data"))) << c.words << ": the data folder was written";
    }
}

TEST_F(ZevikctlKeyboardKeysTest, EachLayerReachesItsTableAndListShowsIt) {
    ASSERT_EQ(Keyboard("key set 1 media play").exitCode, 0);
    ASSERT_EQ(Keyboard("key2 set 1 key shift+B").exitCode, 0);
    // Logical key 0 (Esc) sits at the emulated keyboard's position 0.
    EXPECT_EQ(Read("key_table", 0, 6), "30 cd 00 20 00 3a\n");
    EXPECT_EQ(Read("key_table2", 0, 6), "20 02 05 20 00 3a\n");

    const Outcome list = Keyboard("key list");
    ASSERT_EQ(list.exitCode, 0) << list.out;
    EXPECT_NE(list.out.find("1  30CD00  media play\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("2  20003A  default\n"), std::string::npos) << list.out;
    const Json::Value doc = ParseJson(Keyboard("key2 list", true).out);
    EXPECT_EQ(doc["layer"].asInt(), 2);
    ASSERT_EQ(doc["keys"].size(), 109u) << "one row per key of the keyboard";
    EXPECT_EQ(doc["keys"][0]["function"].asString(), "key shift+B");

    ASSERT_EQ(Keyboard("defaults").exitCode, 0);
    EXPECT_EQ(Read("key_table", 0, 3), "20 00 29\n");
    EXPECT_EQ(Read("key_table2", 0, 3), "20 00 29\n");
    EXPECT_NE(Keyboard("key2 list").out.find("1  200029  default\n"), std::string::npos);
}

TEST_F(ZevikctlKeyboardKeysTest, RefusalsAtRunTimeExitOneWithTheReason) {
    const struct {
        const char* words;
        const char* says;
    } cases[] = {
        {"key set 170 default", "the keyboard has no key 170"},
        {"key set 2 macro 1 0", "there is no macro 1"},
        {"lighting custom-key 3", "custom colours are set in lighting mode 20 only"},
        {"lighting custom-all 1", "custom colours are set in lighting mode 20 only"},
        {"lighting custom-slot 200", "slot 200 lies beyond the colour memory"},
    };
    for (const auto& c : cases) {
        const Outcome run = Keyboard(c.words);
        EXPECT_EQ(run.exitCode, 1) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.words << "\n" << run.out;
    }
    const Outcome none = Zevikctl("--emulate mouse --data-dir " + File("data") + " keyboard key list");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.out.find("no keyboard"), std::string::npos) << none.out;
}

TEST_F(ZevikctlKeyboardKeysTest, MacrosThatDoNotFitSendNothing) {
    ASSERT_EQ(Zevikctl(Emulated() + " macro keyboard add").exitCode, 0);
    const Json::Value macros = ParseJson(Zevikctl(Emulated() + " --json macro keyboard list").out);
    const std::string guid = macros["macros"][0]["guid"].asString();
    ASSERT_FALSE(guid.empty()) << macros;
    Json::Value macro(Json::objectValue);
    for (int i = 0; i < 520; ++i) {  // 16 + 6 + 4 x 520 bytes > 16 x 128
        Json::Value event(Json::objectValue);
        event["Action"] = "down";
        event["Button"] = 4;
        event["Type"] = 10;
        event["Delay"] = "5";
        macro["Events"].append(event);
    }
    std::ofstream(File("data/keyboard/" + guid + ".mac")) << macro.toStyledString();
    const Outcome set = Keyboard("key set 2 macro 1 0");
    EXPECT_EQ(set.exitCode, 1) << set.out;
    EXPECT_EQ(Read("key_table", 3, 3), "20 00 3a\n");
    EXPECT_EQ(Read("macro", 0, 2), "00 00\n");
}

TEST_F(ZevikctlKeyboardKeysTest, BatchLinesTakeTheSameWords) {
    std::ofstream(File("script.txt")) << "keyboard key set 1 media mute\n"
                                         "keyboard key2 set 2 default\n"
                                         "keyboard key2 set 1 system sleep\n"
                                         "keyboard lighting zzcc 7\n"
                                         "keyboard lighting custom-slot 3\n";
    const Outcome run = Zevikctl(Emulated() + " batch < " + File("script.txt"));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(Read("key_table", 0, 3), "30 e2 00\n");
    EXPECT_EQ(Read("key_table2", 0, 3), "40 02 00\n");
    const std::string block = Read("memory", 18, 8);  // bytes 18 (LED mode variant) to 25 (custom slot)
    EXPECT_EQ(block.substr(0, 2), "07") << block;
    EXPECT_EQ(block.substr(21, 2), "03") << block;

    std::ofstream(File("bad.txt")) << "keyboard key set 1 media mute\nkeyboard key2 set 1 macro 1 0\n";
    const Outcome bad = Zevikctl(Emulated() + " batch < " + File("bad.txt"));
    EXPECT_EQ(bad.exitCode, 2) << bad.out;
    EXPECT_NE(bad.out.find("layer 2 binds no macros"), std::string::npos) << bad.out;
}

}  // namespace

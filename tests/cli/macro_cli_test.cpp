// zevikctl run as a process: a kind's macros through "macro KIND ...", alone and in batch, with
// their exit codes. Every run has its own data folder.

#include <gtest/gtest.h>
#include <json/json.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "process_run.h"

namespace {

namespace fs = std::filesystem;

using zevik::test::Outcome;
using zevik::test::ParseJson;
using zevik::test::RunShell;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class MacroCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zevikctl-macro-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    Outcome Zevikctl(const std::string& arguments, const std::string& input = {}) {
        const std::string base = std::string(ZEVIKCTL_PATH) + " --data-dir " + Data().string() + " " + arguments;
        if (input.empty()) return RunShell(base);
        std::ofstream(dir_ / "script") << input;
        return RunShell(base + " < " + (dir_ / "script").string());
    }
    fs::path Data() const { return dir_ / "data"; }
    fs::path Kind() const { return Data() / "mouse"; }
    Json::Value Events(int macro) {
        const Outcome shown = Zevikctl("--json macro mouse show " + std::to_string(macro));
        EXPECT_EQ(shown.exitCode, 0) << shown.out;
        return ParseJson(shown.out)["events"];
    }

    fs::path dir_;
};

TEST_F(MacroCliTest, BuildAMacroWordByWord) {
    ASSERT_EQ(Zevikctl("macro mouse add").out, "macro_1\n");
    for (const char* words : {"insert 1 0 key down A --delay 50", "insert 1 1 key up A", "insert 1 0 key down LShift",
                              "insert 1 3 button click right --delay 70000", "insert 1 5 move up 300",
                              "delay 1 2 99999", "move 1 1 bottom"}) {
        const Outcome r = Zevikctl(std::string("macro mouse ") + words);
        ASSERT_EQ(r.exitCode, 0) << words << ": " << r.out;
    }
    struct Row {
        const char* action;
        int type;
        int button;
        const char* delay;
        const char* text;
    };
    const Row want[] = {
        {"down", 10, 4, "65535", "A"},     {"up", 10, 4, "0", "A"},          {"down", 1, 2, "65535", "right"},
        {"up", 1, 2, "65535", "right"},    {"down", 5, 255, "0", "up 255"},  {"down", 9, 2, "0", "LShift"},
    };
    const Json::Value events = Events(1);
    ASSERT_EQ(events.size(), std::size(want)) << events;
    for (Json::ArrayIndex i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i]["Action"].asString(), want[i].action) << i;
        EXPECT_EQ(events[i]["Type"].asInt(), want[i].type) << i;
        EXPECT_EQ(events[i]["Button"].asInt(), want[i].button) << i;
        EXPECT_EQ(events[i]["Delay"].asString(), want[i].delay) << i;
        EXPECT_EQ(events[i]["text"].asString(), want[i].text) << i;
        EXPECT_EQ(events[i]["row"].asInt(), static_cast<int>(i) + 1);
    }
    const Outcome text = Zevikctl("macro mouse show 1");
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "1  down 10 4 65535  A");

    ASSERT_EQ(Zevikctl("macro mouse remove 1 6").exitCode, 0);
    ASSERT_EQ(Zevikctl("macro mouse move 1 1 down").exitCode, 0);
    EXPECT_EQ(Events(1)[1]["text"].asString(), "A");
    EXPECT_EQ(Events(1)[0]["Action"].asString(), "up");
    const Json::Value list = ParseJson(Zevikctl("--json macro mouse list").out);
    ASSERT_EQ(list["macros"].size(), 1u);
    EXPECT_EQ(list["macros"][0]["events"].asInt(), 5);
    EXPECT_EQ(list["macros"][0]["name"].asString(), "macro_1");
    ASSERT_EQ(Zevikctl("macro mouse clear 1").exitCode, 0);
    EXPECT_EQ(Events(1).size(), 0u);
}

TEST_F(MacroCliTest, BadWordsExitTwoAndTouchNothing) {
    const char* cases[] = {
        "macro mouse insert 51 0 key down A",  "macro mouse insert 0 0 key down A", "macro mousepad list",
        "macro mouse move 1 1 sideways",      "macro mouse insert 1 0 key down Nope", "macro mouse delay 1 0 5",
        "macro mouse delay 1 1 -3",           "macro mouse insert 1 0 move left far", "macro mouse frobnicate",
        "macro mouse show 1 --delay 5",       "macro mouse insert 1 4001 key up A",  "macro mouse insert 1 0 button down thumb",
    };
    for (const char* words : cases) {
        const Outcome r = Zevikctl(words);
        EXPECT_EQ(r.exitCode, 2) << words << ": " << r.out;
        EXPECT_NE(r.out.find("zevikctl:"), std::string::npos) << words;
        EXPECT_FALSE(fs::exists(Kind())) << words;
    }
    EXPECT_NE(Zevikctl("macro mouse insert 51 0 key down A").out.find("1 to 50"), std::string::npos);
}

TEST_F(MacroCliTest, RefusalsExitOne) {
    ASSERT_EQ(Zevikctl("macro mouse add").exitCode, 0);
    ASSERT_EQ(Zevikctl("macro mouse add").exitCode, 0);
    std::ofstream(dir_ / "bad.mac") << "[1,2]";
    const char* cases[] = {
        "macro mouse show 3", "macro mouse rename 1 MACRO_2", "macro mouse insert 1 1 key down A",
    };
    for (const char* words : cases) EXPECT_EQ(Zevikctl(words).exitCode, 1) << words;
    // Never saved: no file to copy.
    EXPECT_EQ(Zevikctl("macro mouse export 1 " + (dir_ / "never-written.mac").string()).exitCode, 1);
    EXPECT_EQ(Zevikctl("macro mouse import " + (dir_ / "bad.mac").string()).exitCode, 1);
    EXPECT_EQ(Zevikctl("macro mouse rename 1 ''").exitCode, 1);
    EXPECT_FALSE(fs::exists(dir_ / "never-written.mac"));
}

TEST_F(MacroCliTest, ImportAndExportCopyBytes) {
    const std::string bytes = "{\"Events\": [{\"Action\":\"down\",\"Button\":4,\"Type\":10,\"Delay\":\"50\"}]}";
    std::ofstream(dir_ / "Game.mac", std::ios::binary) << bytes;
    for (const char* want : {"Game\n", "Game_1\n", "Game_1_2\n"}) {
        EXPECT_EQ(Zevikctl("macro mouse import " + (dir_ / "Game.mac").string()).out, want);
    }
    ASSERT_EQ(Zevikctl("macro mouse export 2 " + (dir_ / "out.mac").string()).exitCode, 0);
    EXPECT_EQ(ReadText(dir_ / "out.mac"), bytes);
}

TEST_F(MacroCliTest, DeleteAsksOnlyWhenTheCurrentProfileUsesTheMacro) {
    ASSERT_EQ(Zevikctl("profile mouse list").exitCode, 0);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(Zevikctl("macro mouse add").exitCode, 0);
    fs::path profile;
    for (const auto& e : fs::directory_iterator(Kind())) {
        if (e.path().extension() == ".Json") profile = e.path();
    }
    ASSERT_FALSE(profile.empty());
    Json::Value document = ParseJson(ReadText(profile));
    const int factory = document["Device"][0]["KeyList"][3]["DefaultAssignment"].asInt();
    document["Device"][0]["KeyList"][3]["Assignment"] = 0x700101;  // macro 2
    document["Device"][0]["KeyList"][4]["Assignment"] = 0x700201;  // macro 3
    std::ofstream(profile) << document.toStyledString();
    const std::string before = ReadText(profile);

    const Outcome declined = Zevikctl("macro mouse delete 2");
    EXPECT_EQ(declined.exitCode, 1) << declined.out;
    EXPECT_EQ(ReadText(profile), before);
    EXPECT_EQ(ParseJson(Zevikctl("--json macro mouse list").out)["macros"].size(), 3u);

    const Outcome confirmed = Zevikctl("--answer yes macro mouse delete 2");
    ASSERT_EQ(confirmed.exitCode, 0) << confirmed.out;
    const Json::Value keys = ParseJson(ReadText(profile))["Device"][0]["KeyList"];
    EXPECT_EQ(keys[3]["Assignment"].asInt(), factory);
    EXPECT_EQ(keys[4]["Assignment"].asInt(), 0x700101);
    const Json::Value list = ParseJson(Zevikctl("--json macro mouse list").out)["macros"];
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1]["name"].asString(), "macro_3");
    // Macro 1 is used by no key: no question.
    EXPECT_EQ(Zevikctl("macro mouse delete 1").exitCode, 0);
}

TEST_F(MacroCliTest, BatchLinesAreCheckedFirstThenRun) {
    const Outcome bad = Zevikctl("batch", "macro mouse add\nmacro mouse show 9x\n");
    EXPECT_EQ(bad.exitCode, 2) << bad.out;
    EXPECT_FALSE(fs::exists(Kind() / "macro.config"));
    const Outcome good = Zevikctl("batch", "macro mouse add\nmacro mouse insert 1 0 key down A --delay 7\nmacro mouse show 1\n");
    ASSERT_EQ(good.exitCode, 0) << good.out;
    EXPECT_NE(good.out.find("1  down 10 4 7  A"), std::string::npos) << good.out;
}

}  // namespace

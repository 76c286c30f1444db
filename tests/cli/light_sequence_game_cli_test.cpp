// zevikctl run as a process: the mouse's lighting sequence words and the game events, alone and in
// batch, with their exit codes. Every run has its own data folder.

#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
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

constexpr const char* kLight =
    "{\"LEDEffectList\": [{\"LEDREGMode\":4,\"LEDBrightness\":3,\"LEDSpeed\":2,\"LEDDirection\":1,"
    "\"LEDMultiColor\":1,\"red\":10,\"green\":20,\"blue\":30,\"Time\":1500,\"Cyle\":2}]}\n";

class SequenceGameCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zevikctl-seq-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(dir_ / "Glow.light", std::ios::binary) << kLight;
    }
    void TearDown() override { fs::remove_all(dir_); }

    Outcome Zevikctl(const std::string& arguments, const std::string& input = {}) {
        const std::string base =
            std::string(ZEVIKCTL_PATH) + " --data-dir " + Data().string() + " " + arguments;
        if (input.empty()) return RunShell(base);
        std::ofstream(dir_ / "script") << input;
        return RunShell(base + " < " + (dir_ / "script").string());
    }
    fs::path Data() const { return dir_ / "data"; }
    fs::path Kind() const { return Data() / "mouse"; }
    fs::path Config() const { return Kind() / "velda_light.config"; }
    // The mouse's lighting record in its profile file.
    Json::Value LightInfo() const {
        for (const auto& e : fs::directory_iterator(Kind())) {
            if (e.path().extension() == ".Json")
                return ParseJson(ReadText(e.path()))["Device"][0]["LightInfo"];
        }
        ADD_FAILURE() << "no profile";
        return {};
    }

    fs::path dir_;
};

TEST_F(SequenceGameCliTest, ImportListAndExportASequence) {
    const Outcome imported =
        Zevikctl("mouse lighting sequence import " + (dir_ / "Glow.light").string() + " 11");
    ASSERT_EQ(imported.exitCode, 0) << imported.out;
    const Outcome named =
        Zevikctl("mouse lighting sequence import " + (dir_ / "Glow.light").string() + " 9 Dawn");
    ASSERT_EQ(named.exitCode, 0) << named.out;

    const Outcome list = Zevikctl("mouse lighting sequence list");
    ASSERT_EQ(list.exitCode, 0) << list.out;
    const Json::Value config = ParseJson(ReadText(Config()));
    const std::string dawn = config["LightInfo"][0][9]["Guid"].asString();
    const std::string glow = config["LightInfo"][0][11]["Guid"].asString();
    EXPECT_EQ(list.out, "9 Dawn " + dawn + "\n11 Glow " + glow + "\n");
    EXPECT_EQ(ReadText(Kind() / (glow + ".light")), kLight);

    const Outcome json = Zevikctl("--json mouse lighting sequence list");
    ASSERT_EQ(json.exitCode, 0) << json.out;
    const Json::Value doc = ParseJson(json.out);
    ASSERT_EQ(doc["sequences"].size(), 2u);
    EXPECT_EQ(doc["sequences"][1]["position"].asInt(), 11);
    EXPECT_EQ(doc["sequences"][1]["name"].asString(), "Glow");
    EXPECT_EQ(doc["sequences"][1]["identifier"].asString(), glow);

    const Outcome exported = Zevikctl("mouse lighting sequence export 9 " + (dir_ / "out.light").string());
    ASSERT_EQ(exported.exitCode, 0) << exported.out;
    EXPECT_EQ(ReadText(dir_ / "out.light"), kLight);
}

TEST_F(SequenceGameCliTest, UsageErrorsExitTwoBeforeAnythingIsOpened) {
    const std::string file = (dir_ / "Glow.light").string();
    for (const std::string& words :
         {"mouse lighting sequence import " + file + " 3", "mouse lighting sequence import " + file + " 12",
          "mouse lighting sequence import " + file + " x", "mouse lighting sequence import " + file,
          std::string("mouse lighting sequence export 256 out.light"),
          std::string("mouse lighting sequence export -1 o"), std::string("mouse lighting sequence remove 9"),
          std::string("mouse lighting sequence"), std::string("game Game_Pause 0 1"),
          std::string("game Game_Start -1 1"), std::string("game Game_Start 4294967296 1"),
          std::string("game Game_Start 0 2147483648"), std::string("game Game_Start 0")}) {
        const Outcome run = Zevikctl(words);
        EXPECT_EQ(run.exitCode, 2) << words << "\n" << run.out;
        EXPECT_FALSE(fs::exists(Data())) << words;
    }
    const Outcome position = Zevikctl("mouse lighting sequence import " + file + " 3");
    EXPECT_NE(position.out.find("9 or 11"), std::string::npos) << position.out;
}

TEST_F(SequenceGameCliTest, FailuresExitOneAndWriteNothing) {
    std::ofstream(dir_ / "bad.light") << R"({"LEDEffectList": [{"LEDREGMode": 1}]})";
    const Outcome bad = Zevikctl("mouse lighting sequence import " + (dir_ / "bad.light").string() + " 9");
    EXPECT_EQ(bad.exitCode, 1) << bad.out;
    EXPECT_NE(bad.out.find("not a light file"), std::string::npos) << bad.out;
    EXPECT_FALSE(fs::exists(Config()));
    EXPECT_EQ(Zevikctl("mouse lighting sequence import " + (dir_ / "none.light").string() + " 9").exitCode,
              1);

    fs::create_directories(Kind());
    std::ofstream(Config()) << "{\"LightInfo\": [[";
    const Outcome damaged =
        Zevikctl("mouse lighting sequence import " + (dir_ / "Glow.light").string() + " 9");
    EXPECT_EQ(damaged.exitCode, 1) << damaged.out;
    EXPECT_EQ(ReadText(Config()), "{\"LightInfo\": [[");
    EXPECT_EQ(Zevikctl("mouse lighting sequence list").exitCode, 1);

    std::ofstream(Config()) << R"({"LightInfo": [[{"LightName": "x", "Guid": "gone"}]]})";
    const Outcome none = Zevikctl("mouse lighting sequence export 0 " + (dir_ / "out.light").string());
    EXPECT_EQ(none.exitCode, 1) << none.out;
    EXPECT_EQ(Zevikctl("mouse lighting sequence export 5 " + (dir_ / "out.light").string()).exitCode, 1);
    EXPECT_FALSE(fs::exists(dir_ / "out.light"));
}

TEST_F(SequenceGameCliTest, AGameEventWithoutTheProgramOnTheBusFails) {
    const Outcome run = RunShell("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus " +
                                 std::string(ZEVIKCTL_PATH) + " game Game_Start 0 9");
    EXPECT_EQ(run.exitCode, 1) << run.out;
}

TEST_F(SequenceGameCliTest, BatchRunsGameEventsOnItsOwnWindowAndSequenceWords) {
    const Outcome first =
        Zevikctl("--emulate mouse batch", "mouse lighting sequence import " + (dir_ / "Glow.light").string() +
                                              " 9\ngame Game_Start 0 9\nwait 100\n");
    ASSERT_EQ(first.exitCode, 0) << first.out;
    EXPECT_EQ(LightInfo()["SelectItem"].asInt(), 9);
    EXPECT_EQ(LightInfo()["OldLedmode"].asInt(), 1);  // from mode 0

    const Outcome back = Zevikctl("--emulate mouse batch", "game Game_Death 0 2\nwait 5000\n");
    ASSERT_EQ(back.exitCode, 0) << back.out;
    EXPECT_EQ(LightInfo()["SelectItem"].asInt(), 1);

    // A bad game line stops the script before anything runs.
    const Outcome bad = Zevikctl("--emulate mouse batch", "wait 1\ngame Game_Start 0 x\n");
    EXPECT_EQ(bad.exitCode, 2) << bad.out;
    EXPECT_NE(bad.out.find("line 2"), std::string::npos) << bad.out;
}

}  // namespace

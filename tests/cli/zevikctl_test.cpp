// zevikctl run as a process: hid list, parse-descriptor, raw commands on the emulated mouse, exit codes.

#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "process_run.h"

namespace {

using zevik::test::Outcome;
using zevik::test::ParseJson;

// stdout and stderr together, or stdout alone with stderr into errorFile.
Outcome Zevikctl(const std::string& arguments, const std::string& errorFile = {}) {
    return zevik::test::RunZevikctl(arguments, errorFile.empty() ? "2>&1" : "2>" + errorFile);
}

class ZevikctlTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-test-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string File(const std::string& name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlTest, HidListShowsTheEmulatedMouseCommandInterface) {
    const Outcome text = Zevikctl("--emulate mouse hid list");
    ASSERT_EQ(text.exitCode, 0) << text.out;
    EXPECT_NE(
        text.out.find("#vid_320f&pid_225a&mi_01&col04 vendor=320f product=225a interface=1 collection=4 "
                      "usage_page=ff1c usage=0092 input=64 output=64 feature=0"),
        std::string::npos)
        << text.out;

    const Outcome json = Zevikctl("--emulate mouse@both hid list --json");
    ASSERT_EQ(json.exitCode, 0) << json.out;
    const Json::Value list = ParseJson(json.out);
    ASSERT_TRUE(list.isArray());
    int commandInterfaces = 0;
    for (const Json::Value& entry : list) {
        if (entry["usage_page"].asUInt() != 0xFF1C) continue;
        ++commandInterfaces;
        EXPECT_EQ(entry["vendor_id"].asUInt(), 0x320Fu);
        EXPECT_EQ(entry["interface"].asUInt(), 1u);
        EXPECT_EQ(entry["collection"].asUInt(), 4u);
        EXPECT_EQ(entry["input_length"].asUInt(), 64u);
        EXPECT_EQ(entry["output_length"].asUInt(), 64u);
    }
    EXPECT_EQ(commandInterfaces, 2);  // cable and receiver
}

// A boot mouse followed by a vendor collection with report id 4 and 63-byte input and output reports.
constexpr const char* kDescriptorHex =
    "05 01 09 02 a1 01 09 01 a1 00 05 09 19 01 29 03 15 00 25 01 95 03 75 01 81 02 95 01 75 05 81 01 "
    "05 01 09 30 09 31 15 81 25 7f 75 08 95 02 81 06 c0 c0 "
    "06 1c ff 09 92 a1 01 85 04 15 00 26 ff 00 75 08 95 3f 09 01 81 02 09 02 91 02 c0";

TEST_F(ZevikctlTest, ParseDescriptorReadsHexTextAndBinaryAlike) {
    {
        std::ofstream(File("descriptor.txt")) << kDescriptorHex << "\n";
        std::string hex = kDescriptorHex;
        std::ofstream binary(File("descriptor.bin"), std::ios::binary);
        for (size_t i = 0; i + 1 < hex.size(); i += 3)
            binary.put(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    for (const char* file : {"descriptor.txt", "descriptor.bin"}) {
        const Outcome run = Zevikctl("--json hid parse-descriptor " + File(file));
        ASSERT_EQ(run.exitCode, 0) << file << run.out;
        const Json::Value list = ParseJson(run.out);
        ASSERT_EQ(list.size(), 2u) << file;
        struct Expected {
            unsigned page, usage, input, output, feature, reportId;
        };
        const Expected expected[] = {{0x01, 0x02, 4, 0, 0, 0}, {0xFF1C, 0x92, 64, 64, 0, 4}};
        for (unsigned i = 0; i < 2; ++i) {
            const Json::Value& c = list[i];
            EXPECT_EQ(c["collection"].asUInt(), i + 1) << file;
            EXPECT_EQ(c["usage_page"].asUInt(), expected[i].page) << file;
            EXPECT_EQ(c["usage"].asUInt(), expected[i].usage) << file;
            EXPECT_EQ(c["input_length"].asUInt(), expected[i].input) << file;
            EXPECT_EQ(c["output_length"].asUInt(), expected[i].output) << file;
            EXPECT_EQ(c["feature_length"].asUInt(), expected[i].feature) << file;
            ASSERT_TRUE(c["report_ids"].isArray()) << file;
            ASSERT_EQ(c["report_ids"].size(), 1u) << file;
            EXPECT_EQ(c["report_ids"][0].asUInt(), expected[i].reportId) << file;
        }
    }
    const Outcome text = Zevikctl("hid parse-descriptor " + File("descriptor.txt"));
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(
        text.out.find("collection 2: usage_page=ff1c usage=0092 input=64 output=64 feature=0 report_ids=4"),
        std::string::npos)
        << text.out;

    std::ofstream(File("broken.txt")) << "05 01 09 02 a1 01\n";  // collection never closed
    const Outcome broken = Zevikctl("hid parse-descriptor " + File("broken.txt"));
    EXPECT_EQ(broken.exitCode, 1) << broken.out;
}

TEST_F(ZevikctlTest, RawWriteThenReadRoundTripsThroughTheStateFile) {
    const std::string emulate = "--emulate mouse --emulator-state " + File("state.json");
    const Outcome write = Zevikctl(emulate + " --emulator-log " + File("log.txt") +
                                   " raw write --device mouse 0x90 \"de ad be ef\"");
    ASSERT_EQ(write.exitCode, 0) << write.out;
    const Outcome read = Zevikctl(emulate + " raw read --device mouse 144 6");
    ASSERT_EQ(read.exitCode, 0) << read.out;
    EXPECT_EQ(read.out.substr(0, 12), "de ad be ef ");

    // The frame went out as begin, write, end.
    std::ifstream log(File("log.txt"));
    std::vector<std::string> commands;
    for (std::string line; std::getline(log, line);) {
        if (line.rfind("OUT ", 0) == 0) commands.push_back(line.substr(line.find(' ', 4) + 1 + 9, 2));
    }
    EXPECT_EQ(commands, (std::vector<std::string>{"01", "06", "02"}));
}

TEST_F(ZevikctlTest, RawCommandsThroughTheReceiver) {
    const Outcome link = Zevikctl("--emulate mouse@receiver raw link --device mouse-receiver");
    EXPECT_EQ(link.exitCode, 0) << link.out;
    EXPECT_EQ(link.out, "linked\n");
    const Outcome info = Zevikctl("--emulate mouse@receiver raw info --device mouse-receiver");
    ASSERT_EQ(info.exitCode, 0) << info.out;
    EXPECT_EQ(info.out.size(), 34u * 3u);  // 34 bytes "xx" joined by spaces, then a newline
}

TEST_F(ZevikctlTest, FailuresExitOneWithTheResultNamed) {
    const Outcome refused = Zevikctl("--emulate mouse raw read --device mouse 0x8000 4");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("device status 0xFF"), std::string::npos) << refused.out;

    const Outcome absent = Zevikctl("--emulate mouse raw info --device mousepad");
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_NE(absent.out.find("no mousepad found"), std::string::npos) << absent.out;
}

TEST_F(ZevikctlTest, BadArgumentsExitTwo) {
    for (const char* arguments :
         {"--emulate mouse raw read --device mouse 0x10000 1", "--emulate mouse raw read --device mouse 0 0",
          "--emulate mouse raw read --device mouse zero 1",
          "--emulate mouse raw write --device mouse 0 \"1 2 3\"",
          "--emulate mouse raw read --device toaster 0 1", "--emulate mouse raw info", "--emulate mouse raw",
          "--emulate toaster hid list", "frobnicate"}) {
        const Outcome run = Zevikctl(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments << "\n" << run.out;
        EXPECT_FALSE(run.out.empty()) << arguments;
    }
}

// Every value the mouse page cannot set is refused before anything is opened: exit 2, the allowed
// range named, no report sent, no profile written.
TEST_F(ZevikctlTest, MouseValuesOutsideWhatThePageSetsAreUsageErrors) {
    const struct {
        const char* words;
        const char* range;
    } cases[] = {
        {"rate 5", "0 to 4"},
        {"rate 9", "0 to 4"},
        {"rate -1", "0 to 4"},
        {"rate x", "0 to 4"},
        {"lod 2", "0 to 1"},
        {"lod 77", "0 to 1"},
        {"motion-sync 2", "0 to 1"},
        {"calibration 2", "0 to 1"},
        {"sensor 2", "0 to 1"},
        {"deep-sleep 2", "0 to 1"},
        {"key-delay 5", "0 to 4"},
        {"anti-shake 5", "0 to 4"},
        {"dormancy 7", "0 to 6"},
        {"dpi 0 800", "1 to 6"},
        {"dpi 7 800", "1 to 6"},
        {"dpi 1 49", "50 to 26000"},
        {"dpi 1 26001", "50 to 26000"},
        {"dpi-enable 1 2", "0 to 1"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(File("data"));
        std::filesystem::remove(File("log.txt"));
        const Outcome run = Zevikctl("--emulate mouse --emulator-log " + File("log.txt") + " --data-dir " +
                                     File("data") + " mouse " + c.words);
        EXPECT_EQ(run.exitCode, 2) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.range), std::string::npos) << c.words << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(File("log.txt")) &&
                     std::filesystem::file_size(File("log.txt")) > 0)
            << c.words << ": reports were exchanged";
        EXPECT_FALSE(std::filesystem::exists(File("data"))) << c.words << ": the data folder was written";
    }

    // The ends of each range are taken.
    const std::string emulate =
        "--emulate mouse --emulator-state " + File("state.json") + " --data-dir " + File("data");
    for (const char* words : {"rate 4", "lod 1", "key-delay 4", "dormancy 6", "dpi 6 26000", "dpi 1 50"}) {
        const Outcome run = Zevikctl(emulate + " mouse " + words);
        EXPECT_EQ(run.exitCode, 0) << words << "\n" << run.out;
    }
    const Outcome show = Zevikctl(emulate + " mouse show");
    EXPECT_NE(show.out.find("rate: 4\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("stage 6: 26000 dpi"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("stage 1: 50 dpi"), std::string::npos) << show.out;
}

TEST_F(ZevikctlTest, BatchScriptWithABadValueRunsNothing) {
    std::ofstream(File("script.txt")) << "mouse rate 2\nmouse lod 77\n";
    const Outcome run = Zevikctl("--emulate mouse --emulator-log " + File("log.txt") + " --data-dir " +
                                 File("data") + " batch < " + File("script.txt"));
    EXPECT_EQ(run.exitCode, 2) << run.out;
    EXPECT_NE(run.out.find("line 2"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("0 to 1"), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(File("data"))) << "the good first line ran";
}

// Every show and list prints one JSON document with --json, with the fields of its text form.
TEST_F(ZevikctlTest, ShowAndListPrintOneJsonDocument) {
    const std::string emulate =
        "--emulate mouse --emulator-state " + File("state.json") + " --data-dir " + File("data");
    ASSERT_EQ(Zevikctl(emulate + " mouse rate 3").exitCode, 0);
    const Outcome text = Zevikctl(emulate + " mouse show");
    ASSERT_EQ(text.exitCode, 0) << text.out;
    const Outcome json = Zevikctl(emulate + " mouse show --json", File("err.txt"));
    ASSERT_EQ(json.exitCode, 0) << json.out;
    const Json::Value mouse = ParseJson(json.out);
    ASSERT_TRUE(mouse.isObject());
    EXPECT_EQ(mouse["connection"].asString(), "cable");
    EXPECT_EQ(mouse["battery"].asInt(), 100);
    EXPECT_EQ(mouse["charging"].asString(), "idle");
    ASSERT_EQ(mouse["stages"].size(), 6u);
    EXPECT_EQ(mouse["stages"][0]["stage"].asInt(), 1);
    // Each line of the text form is a field of the document.
    std::istringstream lines(text.out);
    int fields = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::string key = line.substr(0, line.find(':'));
        if (key.rfind("stage ", 0) == 0) continue;
        std::string jsonKey = key;
        std::replace(jsonKey.begin(), jsonKey.end(), ' ', '-');
        ASSERT_TRUE(mouse.isMember(jsonKey)) << key;
        const std::string shown = line.substr(line.find(": ") + 2);
        const Json::Value& v = mouse[jsonKey];
        EXPECT_EQ(v.isString() ? v.asString() : std::to_string(v.asInt()) + (key == "battery" ? "%" : ""),
                  shown)
            << key;
        ++fields;
    }
    EXPECT_EQ(fields, 14);
    EXPECT_EQ(mouse["rate"].asInt(), 3);

    for (const char* command :
         {"profile mouse list --json", "profile mouse show --json", "hid list --json"}) {
        const Outcome run = Zevikctl(emulate + " " + command, File("err.txt"));
        ASSERT_EQ(run.exitCode, 0) << command << "\n" << run.out;
        const Json::Value doc = ParseJson(run.out);
        EXPECT_TRUE(doc.isObject() || doc.isArray()) << command;
        EXPECT_FALSE(doc.empty()) << command;
    }
}

TEST_F(ZevikctlTest, MouseShowWithoutAMouseSaysSo) {
    const Outcome run = Zevikctl("--emulate mouse@unplugged --data-dir " + File("data") + " mouse show");
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_NE(run.out.find("no mouse is connected"), std::string::npos) << run.out;
}

TEST_F(ZevikctlTest, DialogsAnswerFromTheCommandLine) {
    const std::string data = " --data-dir " + File("data");
    const struct {
        const char* arguments;
        const char* out;
        const char* line;  // the dialog's line on stderr
    } cases[] = {
        {"--answer yes dialog message message_text_29 --buttons 1", "1\n",
         "dialog message_text_29: Delete the selected profile? -> 1"},
        {"--answer no dialog message message_text_29 --buttons 1", "0\n", "-> 0"},
        {"dialog message message_text_29 --buttons 1", "0\n", "-> 0"},  // none left answers no
        {"--answer yes dialog message message_text_16 --arg 7 --dpi 110", "1\n",
         "dialog message_text_16: The device refused the settings (error 7). -> 1"},
        {"--answer color=0a0b0c dialog color --initial 00ff80", "1 FF0A0B0C\n",
         "dialog PalletDialog: FF00FF80 -> 1 FF0A0B0C"},
        {"--answer yes dialog color --initial 00ff80", "1 FF00FF80\n", "-> 1 FF00FF80"},
        {"--answer preset=0 dialog color", "1 FFFF0000\n", "-> 1 FFFF0000"},
        {"dialog color --initial 123456", "0\n", "dialog PalletDialog: FF123456 -> 0"},
    };
    for (const auto& c : cases) {
        const Outcome run = Zevikctl(std::string(c.arguments) + data, File("err.txt"));
        EXPECT_EQ(run.exitCode, 0) << c.arguments;
        EXPECT_EQ(run.out, c.out) << c.arguments;
        std::ifstream err(File("err.txt"));
        std::string text;
        for (std::string line; std::getline(err, line);) text += line + "\n";
        EXPECT_NE(text.find(c.line), std::string::npos) << c.arguments << "\n" << text;
    }
    const Outcome about = Zevikctl("dialog about" + data, File("err.txt"));
    EXPECT_EQ(about.exitCode, 0);
    EXPECT_EQ(about.out.rfind("Version ", 0), 0u) << about.out;

    for (const char* bad :
         {"--answer maybe dialog message message_text_29", "dialog message message_text_29 --buttons 2",
          "dialog message message_text_29 --dpi many", "--answer color=12345 dialog about",
          "dialog color --initial 12345", "dialog color --initial 12345G", "dialog color --initial 0x1234"}) {
        const Outcome run = Zevikctl(std::string(bad) + data);
        EXPECT_EQ(run.exitCode, 2) << bad << "\n" << run.out;
    }
}

TEST_F(ZevikctlTest, LanguageIsListedSwitchedAndKeptForTheNextStart) {
    const std::string data = " --data-dir " + File("data");
    const Outcome list = Zevikctl("settings languages" + data, File("err.txt"));
    ASSERT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "0\t0\tEnglish\n1\t1\t简体中文\n");
    const Json::Value json = ParseJson(Zevikctl("settings languages --json" + data, File("err.txt")).out);
    ASSERT_EQ(json.size(), 2u);
    EXPECT_TRUE(json[0]["current"].asBool());

    EXPECT_EQ(Zevikctl("settings language" + data, File("err.txt")).out, "0 0 English\n");
    const Outcome chosen = Zevikctl("settings language 1" + data, File("err.txt"));
    EXPECT_EQ(chosen.exitCode, 0);
    EXPECT_EQ(chosen.out, "1 1 简体中文\n");
    EXPECT_EQ(Zevikctl("settings language" + data, File("err.txt")).out, "1 1 简体中文\n") << "kept";
    // The dialogs speak it too.
    const Outcome asked = Zevikctl("--answer yes dialog message message_text_29" + data);
    EXPECT_NE(asked.out.find("删除所选配置"), std::string::npos) << asked.out;

    EXPECT_EQ(Zevikctl("settings language 2" + data).exitCode, 1);
    EXPECT_EQ(Zevikctl("settings language x" + data).exitCode, 2);
    EXPECT_EQ(Zevikctl("settings language" + data, File("err.txt")).out, "1 1 简体中文\n") << "unchanged";
}

TEST_F(ZevikctlTest, SkinCommandsSetTheBackground) {
    const std::string data = " --data-dir " + File("data");
    EXPECT_EQ(Zevikctl("skin reset" + data, File("err.txt")).out, "image file='common/background.png'\n");
    EXPECT_EQ(Zevikctl("skin image 0" + data, File("err.txt")).out,
              "image file='common/skin/skin_ember.png'\n");
    EXPECT_EQ(Zevikctl("skin color 0" + data, File("err.txt")).out, "color FF17191D\n");
    std::ofstream(File("mine.png"), std::ios::binary) << std::string("\x89PNG\r\n\x1a\n", 8) << "rest";
    EXPECT_EQ(Zevikctl("skin custom " + File("mine.png") + data, File("err.txt")).out,
              "image " + File("mine.png") + "\n");
    std::ofstream(File("notes.txt")) << "text";
    for (const std::string& failing :
         {std::string("skin image 99"), std::string("skin color 8"), "skin custom " + File("notes.txt")}) {
        EXPECT_EQ(Zevikctl(failing + data).exitCode, 1) << failing;
    }
    EXPECT_EQ(Zevikctl("skin image x" + data).exitCode, 2);
}

}  // namespace

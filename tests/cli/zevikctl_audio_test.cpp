// The audio words of zevikctl run as a process against the emulated keyboard: records fed in a batch
// show as lit 0x12 frames in the emulator's log (and without them the frames stay black), the audio
// words of every lighting noun and the batch's record words are checked before anything opens, and
// "audio send" fails with its reason when no program owns the bus name.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "process_run.h"

namespace {

using zevik::test::Outcome;

Outcome Zevikctl(const std::string& arguments) {
    return zevik::test::RunZevikctl(arguments, "2>&1");
}

class ZevikctlAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-audio-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }

    // The streamed frames of a log: for each 0x12 report sent, whether its payload lights more than two
    // keys (the profile's own per-key effects light a key or so in any effect).
    std::vector<bool> StreamedFrames(const std::string& log) const {
        std::ifstream in(File(log));
        std::vector<bool> lit;
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string direction, path;
            words >> direction >> path;
            std::vector<int> bytes;
            for (std::string b; words >> b;) bytes.push_back(std::stoi(b, nullptr, 16));
            if (direction != "OUT" || bytes.size() != 64 || bytes[3] != 0x12) continue;
            int nonZero = 0;
            for (size_t i = 8; i < 8 + static_cast<size_t>(bytes[4]) && i < bytes.size(); ++i)
                nonZero += bytes[i] != 0;
            lit.push_back(nonZero > 6);
        }
        return lit;
    }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlAudioTest, FedRecordsShowAsLitFramesOnTheWire) {
    const std::string setup = "keyboard lighting mode 29\nkeyboard lighting brightness 4\nwait 300\n";
    std::ofstream(File("silent.txt")) << setup << "wait 300\n";
    // Three records: the levels reach the keyboard with every third one.
    std::ofstream(File("music.txt")) << setup
                                     << "audio samples 0*500\naudio samples 4000*500\naudio samples 0*500\n"
                                        "wait 300\n";
    for (const char* script : {"silent", "music"}) {
        const std::string log = std::string(script) + ".log";
        const Outcome run =
            Zevikctl("--emulate keyboard --data-dir " + File(std::string("data-") + script) +
                     " --emulator-log " + File(log) + " batch < " + File(std::string(script) + ".txt"));
        ASSERT_EQ(run.exitCode, 0) << script << "\n" << run.out;
        const std::vector<bool> frames = StreamedFrames(log);
        ASSERT_FALSE(frames.empty()) << script << ": no frame was streamed";
        int lit = 0;
        for (bool f : frames) lit += f ? 1 : 0;
        if (std::string(script) == "silent") {
            EXPECT_EQ(lit, 0) << "silence with a black background lit a frame";
        } else {
            EXPECT_GT(lit, 0) << "the records lit no frame";
        }
    }
}

TEST_F(ZevikctlAudioTest, AudioWordsAreCheckedBeforeAnythingOpens) {
    const struct {
        const char* command;
        const char* message;
    } cases[] = {
        {"keyboard lighting audio-style 7", "0 to 6"},
        {"keyboard lighting audio-option 9", "1 to 8"},
        {"keyboard lighting audio-option 0", "1 to 8"},
        {"keyboard lighting audio-edit up", "fg or bg"},
        {"keyboard lighting audio-7color 2", "0 to 1"},
        {"keyboard lighting audio-color 12345", "RRGGBB"},
        {"keyboard lighting audio-rgb X 3", "R, G or B"},
        {"keyboard lighting audio-clear-bg now", "takes 0 argument"},
        {"mouse lighting audio-style -1", "0 to 6"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(File("log.txt"));
        const Outcome run = Zevikctl("--emulate keyboard,mouse --emulator-log " + File("log.txt") +
                                     " --data-dir " + File("data") + " " + c.command);
        EXPECT_EQ(run.exitCode, 2) << c.command << "\n" << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.command << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(File("log.txt")) &&
                     std::filesystem::file_size(File("log.txt")) > 0)
            << c.command << ": reports were exchanged";
        EXPECT_FALSE(std::filesystem::exists(File("data"))) << c.command << ": the data folder was written";
    }
}

TEST_F(ZevikctlAudioTest, BatchRecordWordsAreCheckedBeforeTheScriptRuns) {
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"audio samples 1*1025", "1 to 1024"},
        {"audio samples 1*1000 2*25", "at most 1024 values"},
        {"audio samples 2147483648", "signed 32-bit"},
        {"audio samples", "V[*COUNT]"},
        {"audio colour 1 2", "3 or 6 values"},
        {"audio colour 1 2 3 4", "3 or 6 values"},
        {"audio record 1 abc", "pairs of hexadecimal digits"},
        {"audio record 1 zz", "not a hexadecimal byte"},
        {"audio record 4294967296 -", "0 to 4294967295"},
        {"audio levels", "samples, colour or record"},
    };
    for (const auto& c : cases) {
        std::ofstream(File("bad.txt")) << "keyboard show\n" << c.line << "\n";
        const Outcome run =
            Zevikctl("--emulate keyboard --data-dir " + File("data") + " batch < " + File("bad.txt"));
        EXPECT_EQ(run.exitCode, 2) << c.line << "\n" << run.out;
        EXPECT_NE(run.out.find("line 2"), std::string::npos) << c.line << "\n" << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.line << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(File("data"))) << c.line << ": the good first line ran";
    }
}

TEST_F(ZevikctlAudioTest, SendingNeedsTheRunningProgram) {
    std::ofstream(File("record.bin"), std::ios::binary) << std::string(2000, '\x01');
    const Outcome usage = Zevikctl("audio send x " + File("record.bin"));
    EXPECT_EQ(usage.exitCode, 2) << usage.out;
    const Outcome missing = Zevikctl("audio send 1 " + File("missing.bin"));
    EXPECT_EQ(missing.exitCode, 2) << missing.out;
    EXPECT_NE(missing.out.find("cannot read"), std::string::npos) << missing.out;
    // No bus at all, or a bus where nobody owns the program's name: a failure with its reason.
    const Outcome nobody =
        zevik::test::RunShell("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus " +
                              std::string(ZEVIKCTL_PATH) + " audio send 1 " + File("record.bin"));
    EXPECT_EQ(nobody.exitCode, 1) << nobody.out;
    EXPECT_FALSE(nobody.out.empty()) << "no reason given";
}

}  // namespace

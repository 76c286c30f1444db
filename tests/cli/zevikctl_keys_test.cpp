// zevikctl mouse key and emulator read run as processes against the emulated mouse: refused words
// open nothing, set keeps and writes a key through the key page, list prints what the profile holds,
// and the emulated mouse's key table shows what was written.

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

Outcome Zevikctl(const std::string& arguments, bool withErrors = true) {
    return zevik::test::RunZevikctl(arguments, withErrors ? "2>&1" : "2>/dev/null");
}

class ZevikctlKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-keys-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::string Emulated() const {
        return "--emulate mouse --emulator-state " + File("state.json") + " --data-dir " + File("data");
    }
    Outcome Key(const std::string& words, bool json = false) {
        return Zevikctl(Emulated() + (json ? " --json" : "") + " mouse key " + words, !json);
    }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlKeysTest, RefusedWordsExitTwoAndOpenNothing) {
    const struct {
        const char* words;
        const char* says;
    } cases[] = {
        {"", "key takes list"},
        {"list 1", "takes no more words"},
        {"set 0 default", "K takes 1 to 11"},
        {"set 12 default", "K takes 1 to 11"},
        {"set 5", "key takes list"},
        {"set 5 wheel 0 16 0 0", "DELAY must be a number from 0 to 15"},
        {"set 5 macro 51 0", "M must be a number from 1 to 50"},
        {"set 5 key LShift", "not an ordinary key"},
        {"set 5 media louder", "takes one of"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(File("data"));
        std::filesystem::remove(File("log.txt"));
        const Outcome run = Zevikctl("--emulate mouse --emulator-log " + File("log.txt") + " --data-dir " +
                                     File("data") + " mouse key " + c.words);
        EXPECT_EQ(run.exitCode, 2) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.words << "\n" << run.out;
        EXPECT_FALSE(std::filesystem::exists(File("log.txt")) && std::filesystem::file_size(File("log.txt")) > 0)
            << c.words << ": reports were exchanged";
        EXPECT_FALSE(std::filesystem::exists(File("data"))) << c.words << ": the data folder was written";
    }
}

TEST_F(ZevikctlKeysTest, SetKeepsAndWritesThroughTheKeyPageAndListShowsIt) {
    ASSERT_EQ(Key("set 5 key shift+A").exitCode, 0);
    ASSERT_EQ(Key("set 4 wheel 1 2 5 3").exitCode, 0);
    const Outcome list = Key("list");
    ASSERT_EQ(list.exitCode, 0) << list.out;
    EXPECT_NE(list.out.find("5  200204  key shift+A\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("4  1225FD  wheel 1 2 5 3\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("1  101000  default\n"), std::string::npos) << list.out;

    // Logical keys 3 and 4 sit at the mouse's positions 1 and 3.
    const Outcome table = Zevikctl(Emulated() + " emulator read mouse key_table 0 12");
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_EQ(table.out, "10 01 00 12 25 fd 10 04 00 20 02 04\n");

    const Outcome json = Key("list", true);
    const Json::Value doc = ParseJson(json.out);
    ASSERT_EQ(doc["keys"].size(), 11u) << json.out;
    EXPECT_EQ(doc["keys"][4]["function"].asString(), "key shift+A");
    EXPECT_EQ(doc["keys"][4]["code"].asString(), "200204");

    ASSERT_EQ(Key("set 5 default").exitCode, 0);
    EXPECT_NE(Key("list").out.find("5  100800  default\n"), std::string::npos);
}

TEST_F(ZevikctlKeysTest, RefusalsAtRunTimeExitOneWithTheMessage) {
    const Outcome left = Key("set 2 button right");
    EXPECT_EQ(left.exitCode, 1);
    EXPECT_NE(left.out.find("The mouse must keep one left button."), std::string::npos) << left.out;
    const Outcome macro = Key("set 3 macro 1 0");
    EXPECT_EQ(macro.exitCode, 1);
    EXPECT_NE(macro.out.find("there is no macro 1"), std::string::npos) << macro.out;
    const Outcome gone = Zevikctl("--emulate mouse --data-dir " + File("data") + " mouse key write");
    EXPECT_EQ(gone.exitCode, 0) << "a connected mouse takes an unchanged list\n" << gone.out;
}

TEST_F(ZevikctlKeysTest, EmulatorReadPrintsAnAreaAndRefusesWhatIsNotThere) {
    const Outcome codes = Zevikctl("--emulate mouse emulator read mouse key_codes 0 6");
    EXPECT_EQ(codes.exitCode, 0);
    EXPECT_EQ(codes.out, "10 01 00 10 02 00\n");
    const struct {
        const char* words;
        int exitCode;
        const char* says;
    } cases[] = {
        {"mouse nowhere 0 1", 1, "has no area \"nowhere\""},
        {"keyboard memory 0 1", 1, "no emulated device"},
        {"mouse key_table 510 4", 2, "holds 512 bytes"},
        {"mouse key_table 0 0", 2, "LEN must be a number from 1"},
        {"mouse key_table 0x 1", 2, "ADDR must be a number"},
    };
    for (const auto& c : cases) {
        const Outcome run = Zevikctl(std::string("--emulate mouse emulator read ") + c.words);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.words << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.words << "\n" << run.out;
    }
    EXPECT_EQ(Zevikctl("emulator read mouse memory 0 1").exitCode, 2) << "needs --emulate";
}

// Key capture replays event files as the desktop's input: right Ctrl selects Ctrl, keypad Enter is
// told from Enter, releases and keys the capture does not cover change nothing.
TEST_F(ZevikctlKeysTest, CaptureTakesTheKeysPressedInTheEventFiles) {
    {
        std::ofstream(File("kb.txt")) << "# EVEMU 1.3\nN: keyboard\n"
                                         "E: 0.000001 0004 0004 458976\n"   // a scan code, not a key
                                         "E: 0.000001 0001 0061 0001\n"     // right Ctrl down
                                         "E: 0.000002 0000 0000 0000\n"
                                         "E: 0.100000 0001 0060 0001\n"     // keypad Enter down
                                         "E: 0.150000 0001 0060 0002\n"     // auto-repeat
                                         "E: 0.200000 0001 0071 0001\n"     // mute: not captured
                                         "E: 0.300000 0001 0060 0000\n";
    }
    const Outcome run = Key("capture 5 --from-events " + File("kb.txt"));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(Key("list").out.find("5  200158  key ctrl+NumEnter\n"), std::string::npos);
    EXPECT_EQ(Zevikctl(Emulated() + " emulator read mouse key_table 9 3").out, "20 01 58\n");

    std::ofstream(File("bad.txt")) << "E: 0.000001 0001 001e\n";
    const Outcome bad = Key("capture 5 --from-events " + File("bad.txt"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.out.find("bad.txt:1:"), std::string::npos) << bad.out;
    EXPECT_EQ(Key("capture 12 --from-events " + File("kb.txt")).exitCode, 2);
}

// A recording replayed from event files: keys and side buttons with their real delays, a 70 s pause
// held at 65535, then an insertion before a row with a fixed delay; a bad file records nothing.
TEST_F(ZevikctlKeysTest, RecordingFromEventFilesPlacesTimedRows) {
    const std::string data = " --data-dir " + File("data");
    ASSERT_EQ(Zevikctl(data + " macro mouse add").exitCode, 0);
    std::ofstream(File("kb.txt")) << "E: 1.000000 0001 0061 0001\nE: 1.150000 0001 0060 0001\n"
                                     "E: 1.600000 0001 0060 0002\nE: 1.800000 0001 0060 0000\n"
                                     "E: 71.900000 0001 0061 0000\n";
    std::ofstream(File("mouse.txt")) << "E: 1.900000 0001 0113 0001\nE: 1.950000 0002 0000 0005\n";
    const Outcome rec = Zevikctl(data + " macro mouse record 1 --from-events " + File("kb.txt") + " " + File("mouse.txt"));
    ASSERT_EQ(rec.exitCode, 0) << rec.out;
    EXPECT_EQ(Zevikctl(data + " macro mouse show 1", false).out,
              "1  down 9 16 0  RCtrl\n2  down 10 88 150  Num Enter\n3  up 10 88 650  Num Enter\n"
              "4  down 1 8 100  back\n5  up 9 16 65535  RCtrl\n");

    std::ofstream(File("one.txt")) << "E: 5.000000 0001 001e 0001\n";
    ASSERT_EQ(Zevikctl(data + " macro mouse record 1 --from-events " + File("one.txt") + " --insert before 2 --delay 30")
                  .exitCode,
              0);
    EXPECT_NE(Zevikctl(data + " macro mouse show 1", false).out.find("2  down 10 4 30  A\n"), std::string::npos);

    std::ofstream(File("bad.txt")) << "E: 5.0 0001 001e 0001\n";
    const Outcome bad = Zevikctl(data + " macro mouse record 1 --from-events " + File("bad.txt"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.out.find("bad.txt:1:"), std::string::npos) << bad.out;
    EXPECT_EQ(Zevikctl(data + " macro mouse record 1 --insert sideways 1 --from-events " + File("one.txt")).exitCode, 2);

    // The same words in a batch script, with the key capture and the recoil words.
    std::ofstream(File("script.txt")) << "macro mouse record 1 --from-events " << File("one.txt") << " --replace 1\n"
                                      << "mouse key capture 4 --from-events " << File("one.txt") << "\n"
                                      << "mouse recoil set 1 1 right 2 down 3 40\n";
    const Outcome batch = Zevikctl("--emulate mouse" + data + " batch < " + File("script.txt"));
    EXPECT_EQ(batch.exitCode, 0) << batch.out;
    EXPECT_NE(Zevikctl(data + " macro mouse show 1", false).out.find("1  down 10 4 0  A\n"), std::string::npos);
}

TEST_F(ZevikctlKeysTest, RecoilBulletsAreSetShownAndUploaded) {
    const auto recoil = [this](const std::string& words) { return Zevikctl(Emulated() + " mouse recoil " + words); };
    ASSERT_EQ(recoil("set 2 6 left 300 up 4 70000").exitCode, 0);
    const Outcome shown = recoil("show 2 6");
    EXPECT_EQ(shown.out, "6  left 255  up 4  65535\n") << "values held to their fields";
    ASSERT_EQ(recoil("upload").exitCode, 0);
    const Outcome image = Zevikctl(Emulated() + " emulator read mouse recoil 0 4");
    EXPECT_EQ(image.out, "aa 55 68 0b\n") << "four full patterns: 2920 bytes";
    ASSERT_EQ(recoil("reset 2").exitCode, 0);
    EXPECT_NE(recoil("show 2 6").out, shown.out);
    for (const char* words : {"show 5", "set 1 31 left 1 up 1 1", "set 1 1 sideways 1 up 1 1", "set 1 1 left -1 up 1 1", "fire"}) {
        EXPECT_EQ(recoil(words).exitCode, 2) << words;
    }
    EXPECT_EQ(recoil("import 1 " + File("none.shoot")).exitCode, 1);
}

}  // namespace

#include "platform/event_file.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <filesystem>
#include <fstream>

namespace zevik {
namespace {

constexpr const char* kKeyboard = R"(# EVEMU 1.3
N: Test keyboard
I: 0003 320f 5000 0111
B: 00 0b 00 00 00 00 00 00 00
################################
#      Waiting for events      #
################################
E: 0.000001 0004 0004 458976	# EV_MSC / MSC_SCAN             458976
E: 0.000001 0001 0061 0001	# EV_KEY / KEY_RIGHTCTRL        1
E: 0.000001 0000 0000 0000	# ------------ SYN_REPORT (0) ---------- +0ms
E: 0.150250 0001 0060 0001	# EV_KEY / KEY_KPENTER          1
E: 0.650000 0001 0060 0002	# EV_KEY / KEY_KPENTER          2
E: 0.700000 0001 0060 0000
E: 70.700000 0001 0061 0000
)";

TEST(EventFile, ReadsKeyEventsWithTheirTimesAndSkipsTheRest) {
    EventFileError error;
    const auto events = ParseEventText(kKeyboard, error);
    ASSERT_TRUE(events.has_value()) << error.line << ": " << error.message;
    const std::vector<InputEvent> want = {
        {1, EV_KEY, KEY_RIGHTCTRL, 1},       {150250, EV_KEY, KEY_KPENTER, 1}, {650000, EV_KEY, KEY_KPENTER, 2},
        {700000, EV_KEY, KEY_KPENTER, 0}, {70700000, EV_KEY, KEY_RIGHTCTRL, 0},
    };
    EXPECT_EQ(*events, want);
}

TEST(EventFile, ABadEventLineIsRefusedWithItsNumber) {
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"# x\nE: 0.1 0001 001e 1\n", 2},              // the microseconds need six digits
        {"E: 0.000001 0001 001e\n", 1},                  // no value
        {"E: 0.000001 0001 00zz 1\n", 1},                // not hex
        {"N: kb\nE: 0.000001 0001 001e 1 9\n", 2},      // a word too many
        {"E: 0.000001 10001 001e 1\n", 1},               // a type wider than 16 bits
        {"E: 99999999999999999999.000001 0001 001e 1\n", 1},
    };
    for (const auto& c : cases) {
        EventFileError error;
        EXPECT_FALSE(ParseEventText(c.text, error).has_value()) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
    }
}

TEST(EventFile, FilesMergeByTimeAndAMissingOneIsNamed) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zevik-event-file-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "kb.txt") << "E: 0.000010 0001 001e 1\nE: 0.000030 0001 001e 0\n";
    std::ofstream(dir / "mouse.txt") << "E: 0.000020 0001 0110 1\nE: 0.000030 0001 0110 0\nE: 0.000040 0002 0000 5\n";
    EventFileError error;
    const auto events = ReadEventFiles({dir / "kb.txt", dir / "mouse.txt"}, error);
    ASSERT_TRUE(events.has_value());
    ASSERT_EQ(events->size(), 4u);
    EXPECT_EQ((*events)[0].code, KEY_A);
    EXPECT_EQ((*events)[1].code, BTN_LEFT);
    EXPECT_EQ((*events)[2].code, KEY_A) << "equal times keep the files' order";
    EXPECT_EQ((*events)[3].code, BTN_LEFT);

    std::string failed;
    EXPECT_FALSE(ReadEventFiles({dir / "kb.txt", dir / "none.txt"}, error, &failed).has_value());
    EXPECT_EQ(error.line, 0);
    EXPECT_EQ(failed, (dir / "none.txt").string());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zevik

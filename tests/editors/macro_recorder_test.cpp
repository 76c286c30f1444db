#include "editors/macro_recorder.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

namespace zevik {
namespace {

InputEvent Key(std::uint64_t ms, std::uint16_t code, int value) { return {ms * 1000 + 7, EV_KEY, code, value}; }

std::vector<MacroEvent> Record(const std::vector<InputEvent>& input, RecordDelay delay = RecordDelay::Real,
                               std::uint16_t fixed = 0) {
    CMacroRecorder recorder(4, delay, fixed);
    MacroRows rows;
    for (const InputEvent& e : input) recorder.Take(e, rows);
    return rows.events;
}

TEST(MacroRecorder, KeysAndButtonsBecomeRowsWithTheirRealDelays) {
    const std::vector<MacroEvent> rows = Record({
        Key(1000, KEY_RIGHTCTRL, 1),
        Key(1150, KEY_KPENTER, 1),
        Key(1600, KEY_KPENTER, 2),  // auto-repeat
        Key(1700, KEY_KPENTER, 1),  // a held key reports itself once
        Key(1800, KEY_KPENTER, 0),
        Key(1850, KEY_MUTE, 1),     // not in the key table
        {1860 * 1000, EV_REL, REL_X, 5},
        Key(1900, BTN_SIDE, 1),
        Key(1950, BTN_EXTRA, 0),
        Key(71950, KEY_RIGHTCTRL, 0),  // after 70 s
    });
    const std::vector<MacroEvent> want = {
        {"down", 0x10, 9, 0},   {"down", 0x58, 10, 150}, {"up", 0x58, 10, 650},
        {"down", 0x08, 1, 100}, {"up", 0x10, 1, 50},     {"up", 0x10, 9, 0xFFFF},
    };
    EXPECT_EQ(rows, want);
}

TEST(MacroRecorder, FixedAndIgnoredDelaysAndTheFirstRowsZero) {
    const std::vector<InputEvent> input = {Key(5, KEY_A, 1), Key(900, KEY_A, 0)};
    EXPECT_EQ(Record(input, RecordDelay::Fixed, 70)[1].delay, 70);
    EXPECT_EQ(Record(input, RecordDelay::Fixed, 70)[0].delay, 0);
    EXPECT_EQ(Record(input, RecordDelay::Ignore)[1].delay, 0);
    // A recording that started before its first event counts from its start.
    CMacroRecorder started(4, RecordDelay::Real, 0, 1000);
    MacroRows rows;
    rows.events = {{"down", 4, 10, 0}};
    started.Take(Key(301, KEY_A, 1), rows);
    EXPECT_EQ(rows.events.back().delay, 300);
}

TEST(MacroRecorder, PlacementsFollowTheSelectedRow) {
    const MacroEvent x{"down", 0x1B, 10, 0};
    const MacroEvent y{"down", 0x1C, 10, 0};
    struct Case {
        int mode;
        int selected;
        std::vector<std::uint8_t> buttons;  // the rows' buttons after B then C were recorded
        int selectedAfter;
    } cases[] = {
        {4, 0, {0x1B, 0x1C, 0x05, 0x06}, 3},
        {8, 1, {0x1B, 0x05, 0x06, 0x1C}, 3},
        {16, 0, {0x1B, 0x05, 0x06, 0x1C}, 2},
        {16, -1, {0x05, 0x06, 0x1B, 0x1C}, 1},
        {8, -1, {0x1B, 0x1C, 0x05, 0x06}, -1},
        {32, 1, {0x1B, 0x05}, 1},  // only the first event replaces
    };
    for (const Case& c : cases) {
        CMacroRecorder recorder(c.mode, RecordDelay::Ignore, 0);
        MacroRows rows{{x, y}, c.selected};
        recorder.Take(Key(1, KEY_B, 1), rows);
        recorder.Take(Key(2, KEY_C, 1), rows);
        std::vector<std::uint8_t> buttons;
        for (const MacroEvent& e : rows.events) buttons.push_back(e.button);
        EXPECT_EQ(buttons, c.buttons) << "mode " << c.mode << " selected " << c.selected;
        EXPECT_EQ(rows.selected, c.selectedAfter) << "mode " << c.mode << " selected " << c.selected;
    }
}

TEST(MacroRecorder, TheListStopsAt4000Rows) {
    CMacroRecorder recorder(4, RecordDelay::Ignore, 0);
    MacroRows rows;
    for (int i = 0; i < 2001; ++i) {
        recorder.Take(Key(static_cast<std::uint64_t>(i), BTN_LEFT, 1), rows);
        recorder.Take(Key(static_cast<std::uint64_t>(i), BTN_LEFT, 0), rows);
    }
    EXPECT_EQ(rows.events.size(), 4000u);
}

}  // namespace
}  // namespace zevik

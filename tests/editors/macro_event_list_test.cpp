#include <gtest/gtest.h>

#include "editors/macro_event_list.h"
#include "editors/macro_mouse_events.h"

namespace zevik {
namespace {

std::vector<MacroEvent> Rows(std::initializer_list<int> buttons) {
    std::vector<MacroEvent> events;
    for (int b : buttons) events.push_back({"down", static_cast<std::uint8_t>(b), kMacroKeyboardKey, 0});
    return events;
}

std::vector<int> Buttons(const std::vector<MacroEvent>& events) {
    std::vector<int> out;
    for (const MacroEvent& e : events) out.push_back(e.button);
    return out;
}

TEST(MacroEventList, InsertAfterTheSelectedRowOrAtTheTop) {
    struct Case {
        int after;
        std::vector<int> want;
        int selected;
    };
    const Case cases[] = {{-1, {9, 1, 2, 3}, 0}, {0, {1, 9, 2, 3}, 1}, {2, {1, 2, 3, 9}, 3}, {7, {1, 2, 3, 9}, 3}};
    for (const Case& c : cases) {
        std::vector<MacroEvent> events = Rows({1, 2, 3});
        EXPECT_EQ(InsertMacroEvent(events, c.after, Rows({9})[0]), c.selected) << c.after;
        EXPECT_EQ(Buttons(events), c.want) << c.after;
    }
}

TEST(MacroEventList, MoveAndRemove) {
    struct Case {
        int row;
        MacroRowMove move;
        std::vector<int> want;
        int selected;
    };
    const Case cases[] = {
        {1, MacroRowMove::Up, {2, 1, 3}, 0},     {0, MacroRowMove::Up, {1, 2, 3}, 0},
        {1, MacroRowMove::Down, {1, 3, 2}, 2},   {2, MacroRowMove::Down, {1, 2, 3}, 2},
        {2, MacroRowMove::Top, {3, 1, 2}, 0},    {0, MacroRowMove::Bottom, {2, 3, 1}, 2},
        {3, MacroRowMove::Up, {1, 2, 3}, -1},    {-1, MacroRowMove::Top, {1, 2, 3}, -1},
    };
    for (const Case& c : cases) {
        std::vector<MacroEvent> events = Rows({1, 2, 3});
        EXPECT_EQ(MoveMacroEvent(events, c.row, c.move), c.selected) << c.row;
        EXPECT_EQ(Buttons(events), c.want) << c.row;
    }
    std::vector<MacroEvent> events = Rows({1, 2, 3});
    EXPECT_EQ(RemoveMacroEvent(events, 2), 1);
    EXPECT_EQ(RemoveMacroEvent(events, 0), 0);
    EXPECT_EQ(Buttons(events), (std::vector<int>{2}));
    EXPECT_EQ(RemoveMacroEvent(events, 0), -1);
    EXPECT_EQ(RemoveMacroEvent(events, 0), -1);
}

TEST(MacroMouseEvents, TableAndLabels) {
    EXPECT_EQ(MacroMouseEventTable().size(), 15u);
    struct Case {
        std::uint32_t message;
        std::uint8_t xButton;
        std::uint8_t button;
        bool down;
    };
    const Case cases[] = {{kWmLButtonDown, 0, 0x01, true}, {kWmRButtonUp, 0, 0x02, false},
                          {kWmMButtonDown, 0, 0x04, true}, {kWmXButtonDown, 2, 0x10, true},
                          {kWmXButtonUp, 1, 0x08, false}};
    for (const Case& c : cases) {
        const MacroMouseEventRow* row = FindMacroMouseEvent(c.message, c.xButton);
        ASSERT_NE(row, nullptr) << c.message;
        EXPECT_EQ(row->button, c.button);
        EXPECT_EQ(row->down, c.down);
        EXPECT_EQ(row->type, kMacroMouseButton);
    }
    EXPECT_EQ(FindMacroMouseEvent(kWmMouseWheel, 0), nullptr);  // never produced

    struct Label {
        MacroEvent event;
        const char* key;
    };
    const Label labels[] = {
        {{"down", 0x04, kMacroKeyboardKey, 0}, "keyboard_key_A"},
        {{"up", 0x10, kMacroModifierKey, 0}, "keyboard_key_RCtrl"},
        {{"down", 0x08, kMacroMouseButton, 0}, "mouse_key_back"},
        {{"down", 30, kMacroMoveHorizontal, 0}, "mouse_move_to_left_text"},
        {{"up", 30, kMacroMoveVertical, 0}, "mouse_move_to_down_text"},
        {{"down", 7, 2, 0}, ""},  // shown by its "Button" value
    };
    for (const Label& l : labels) EXPECT_EQ(MacroEventDisplayKey(l.event), l.key) << l.key;
}

}  // namespace
}  // namespace zevik

// The mode tables of every page kind as one table: what each part of the lighting page becomes for a
// kind and a mode, including unlisted modes and kinds without a table.

#include "editors/light_mode_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zevik {
namespace {

// e: enabled, d: disabled, eh / dh: hidden as well, '-': not set.
LightPartState Part(std::string_view code) {
    if (code == "e") return {true, std::nullopt};
    if (code == "d") return {false, std::nullopt};
    if (code == "eh") return {true, false};
    if (code == "dh") return {false, false};
    if (code == "es") return {true, true};  // enabled and shown
    if (code == "ds") return {false, true};
    return {};
}

struct ModeCase {
    int kind;
    int mode;
    bool listed;
    // seven-colour, colour, brightness, speed, direction
    const char* parts[5];
    const char* firstText;  // "" unchanged
    bool sameMode;
    std::optional<bool> lightColourEnabled;
    std::optional<bool> zzccShown, customShown, audioShown;
    std::optional<int> tab;
};

class LightModeTable : public ::testing::TestWithParam<ModeCase> {};

TEST_P(LightModeTable, GivesEachPartItsState) {
    const ModeCase& c = GetParam();
    const LightModeView v = LightModeFor(c.kind, c.mode);
    EXPECT_EQ(v.listed, c.listed);
    EXPECT_EQ(v.sevenColour, Part(c.parts[0]));
    EXPECT_EQ(v.colour, Part(c.parts[1]));
    EXPECT_EQ(v.brightness, Part(c.parts[2]));
    EXPECT_EQ(v.speed, Part(c.parts[3]));
    EXPECT_EQ(v.direction, Part(c.parts[4]));
    EXPECT_EQ(v.directionFirstText, c.firstText);
    EXPECT_EQ(v.offersSameMode, c.sameMode);
    EXPECT_EQ(v.lightColour.enabled, c.lightColourEnabled);
    EXPECT_EQ(v.zzccSelector.visible, c.zzccShown);
    EXPECT_EQ(v.customLayout.visible, c.customShown);
    EXPECT_EQ(v.audioSelector.visible, c.audioShown);
    EXPECT_EQ(v.colourTab, c.tab);
}

constexpr auto no = std::nullopt;
const char* const kMouseUp = "light_set_down_to_up_text";
const char* const kKeyboardLeft = "light_set_right_to_left_text";

INSTANTIATE_TEST_SUITE_P(
    Kinds, LightModeTable,
    ::testing::Values(
        // Mouse: reset shows the speed, hides the audio selector, tab 0, the up/down texts.
        ModeCase{2, 1, true, {"e", "e", "e", "es", "e"}, kMouseUp, false, no, no, no, false, 0},
        ModeCase{2, 2, true, {"d", "d", "e", "es", "d"}, kMouseUp, false, no, no, no, false, 0},
        ModeCase{2, 4, true, {"d", "e", "e", "ds", "d"}, kMouseUp, false, no, no, no, false, 0},
        ModeCase{2, 7, true, {"e", "e", "e", "es", "d"}, kMouseUp, false, no, no, no, false, 0},
        ModeCase{2, 9, true, {"d", "d", "e", "es", "d"}, kMouseUp, false, no, no, no, false, 0},
        ModeCase{2, 11, true, {"d", "d", "d", "ds", "d"}, kMouseUp, false, no, no, no, false, 0},
        ModeCase{2, 12, true, {"e", "e", "e", "dh", "e"}, kMouseUp, false, no, no, no, true, 1},
        // Not listed: only the effect list stays usable, and no same-mode offer.
        ModeCase{2, 0, false, {"d", "d", "d", "ds", "d"}, kMouseUp, false, false, no, no, false, 0},
        ModeCase{2, 13, false, {"d", "d", "d", "ds", "d"}, kMouseUp, false, false, no, no, false, 0},
        // Keyboard.
        ModeCase{1,
                 3,
                 true,
                 {"e", "e", "e", "es", "e"},
                 "light_set_clockwise_text",
                 false,
                 true,
                 false,
                 false,
                 false,
                 0},
        ModeCase{1, 4, true, {"d", "d", "e", "es", "d"}, kKeyboardLeft, true, false, false, false, false, 0},
        ModeCase{1, 6, true, {"e", "e", "e", "ds", "d"}, kKeyboardLeft, true, true, false, false, false, 0},
        ModeCase{1, 12, true, {"d", "d", "e", "es", "e"}, kMouseUp, false, true, false, false, false, 0},
        ModeCase{1, 17, true, {"d", "d", "e", "eh", "d"}, kKeyboardLeft, false, false, true, false, false, 0},
        ModeCase{1,
                 18,
                 true,
                 {"d", "d", "e", "ds", "e"},
                 "light_set_outside_to_inside_text",
                 false,
                 false,
                 false,
                 false,
                 false,
                 0},
        ModeCase{1, 20, true, {"d", "e", "e", "dh", "d"}, kKeyboardLeft, false, true, false, true, false, 0},
        ModeCase{1,
                 21,
                 true,
                 {"e", "e", "e", "es", "e"},
                 "light_set_up_to_down_text",
                 false,
                 true,
                 false,
                 false,
                 false,
                 0},
        ModeCase{1, 28, true, {"d", "d", "d", "ds", "d"}, kKeyboardLeft, true, true, false, false, false, 0},
        ModeCase{1, 29, true, {"e", "e", "e", "dh", "e"}, kKeyboardLeft, false, true, false, false, true, 1},
        ModeCase{
            1, 19, false, {"d", "d", "d", "ds", "d"}, kKeyboardLeft, false, false, false, false, false, 0},
        // Mousepad and headset share one table; it sets no texts and leaves the speed's visibility.
        ModeCase{3, 2, true, {"d", "d", "e", "e", "d"}, "", true, no, no, no, no, no},
        ModeCase{4, 4, true, {"d", "e", "e", "d", "d"}, "", true, no, no, no, no, no},
        ModeCase{7, 9, true, {"d", "d", "d", "d", "d"}, "", true, no, no, no, no, no},
        ModeCase{7, 7, true, {"d", "d", "d", "d", "d"}, "", false, no, no, no, no, no},
        ModeCase{3, 10, false, {"d", "d", "d", "d", "d"}, "", false, false, no, no, no, no},
        // Kind 5.
        ModeCase{5, 2, true, {"d", "e", "e", "d", "e"}, "", false, no, no, no, no, no},
        ModeCase{5, 5, true, {"d", "d", "e", "e", "d"}, "", false, no, no, no, no, no},
        // No table: nothing is set.
        ModeCase{6, 1, false, {"-", "-", "-", "-", "-"}, "", false, no, no, no, no, no}));

TEST(LightModeTableKinds, EveryCatalogueKindHasATable) {
    for (int kind : {1, 2, 3, 4, 5, 7}) EXPECT_TRUE(HasLightModeTable(kind)) << kind;
    for (int kind : {0, 6, 8}) EXPECT_FALSE(HasLightModeTable(kind)) << kind;
}

TEST(LightModeTableKinds, TheMouseOffersTheSameModeInNoMode) {
    for (int mode = -1; mode <= 20; ++mode) EXPECT_FALSE(LightModeFor(2, mode).offersSameMode) << mode;
}

}  // namespace
}  // namespace zevik

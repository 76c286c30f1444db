// The keyboard's mode steps, run without a thread: what a key shows after N steps, worked out by hand
// from the colour wheel, the curves and the counters.

#include "devices/keyboard_lighting_steps.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "devices/keyboard_light_layout.h"
#include "devices/keyboard_light_masks.h"
#include "devices/keyboard_test_support.h"

namespace zevik::test {
namespace {

struct StepCase {
    const char* name;
    int mode;
    LightInfoRecord light;
    int steps;
    int key;
    KeyEntry expected;
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.name;
}

class KeyboardModeStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(KeyboardModeStep, KeyShowsTheHandWorkedEntry) {
    const StepCase& c = GetParam();
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(7);
    state.Reset();
    KeyboardEntryStep(c.mode, state);
    for (int i = 0; i < c.steps; ++i) ASSERT_TRUE(KeyboardStep(c.mode, c.light, state, frame, random, 1000));
    EXPECT_EQ(EntryOf(frame.Get(c.key)), c.expected);
}

const lighting::Rgb kColour{10, 20, 30};

// Columns and rows: the wheel is 255, rising, 0 in its first segment; rising[23] = 152 and so on.
INSTANTIATE_TEST_SUITE_P(
    ColumnsAndRows, KeyboardModeStep,
    ::testing::Values(
        // c = 1; column 3 shows wheel(1 + 1 + 21) = wheel(23)
        StepCase{"wave_multicolour", 1, KeyboardRecord(4, 1, true), 1, 23, {255, 152, 0, 255}},
        // c = S(0, 96, 0, 1) = 95; column 0: wave(0) = 22, 135 x 22 / 256 = 11
        StepCase{
            "wave_single_down_column0", 1, KeyboardRecord(2, 0, false, kColour), 1, 120, {10, 20, 30, 11}},
        // column 2: wave((95 + 1 + 14) mod 96 = 14) = 69, 135 x 69 / 256 = 36
        StepCase{"wave_single_down_column2", 1, KeyboardRecord(2, 0, false, kColour), 1, 0, {10, 20, 30, 36}},
        // c = 3; column 5 shows wheel(3 + 10)
        StepCase{"twinkle_multicolour", 2, KeyboardRecord(4, 1, true), 3, 3, {255, 57, 0, 255}},
        // c = 1; column 3: twinkle(1 + 21) = 220, 255 x 220 / 256 = 219
        StepCase{"twinkle_single", 2, KeyboardRecord(4, 1, false, {255, 0, 0}), 1, 1, {255, 0, 0, 219}},
        // c = 64; breathing(64) = 255, 255 x 255 / 256 = 254; column 4 shows wheel(28)
        StepCase{"breathing_columns", 5, KeyboardRecord(4, 0, true), 64, 2, {255, 213, 0, 254}},
        // c = 191; row 2: wheel((191 + 1 + 48) mod 192 = 48), second segment, red falling[16] = 69
        StepCase{"row_wave_down", 12, KeyboardRecord(3, 0, false), 1, 43, {69, 255, 0, 195}}));

INSTANTIATE_TEST_SUITE_P(
    WholeKeyboardAndRings, KeyboardModeStep,
    ::testing::Values(
        // sweep: c = 1; sweep[0] = key 15 shows wheel(1), sweep[2] = key 13 wheel(1 + 10)
        StepCase{"sweep_first", 3, KeyboardRecord(4, 1, true), 1, 15, {255, 3, 0, 255}},
        StepCase{"sweep_third", 3, KeyboardRecord(4, 1, true), 1, 13, {255, 44, 0, 255}},
        StepCase{"colour_cycle", 4, KeyboardRecord(4, 1, true), 5, 131, {255, 14, 0, 255}},
        // ring 0 (key 51): wheel(150 - 12) = wheel(138), fifth segment, red rising[10] = 38
        StepCase{"radial_centre", 6, KeyboardRecord(4, 0, true), 1, 51, {38, 0, 255, 255}},
        // ring 11 (key 41): wheel(150 - 144) = wheel(6)
        StepCase{"radial_outer", 6, KeyboardRecord(4, 0, true), 1, 41, {255, 18, 0, 255}},
        StepCase{"radial_single", 6, KeyboardRecord(1, 0, false, kColour), 1, 41, {10, 20, 30, 80}},
        // chosen colour: direction 2 -> wheel(70) (third segment, blue rising[6] = 18); other -> wheel(174)
        StepCase{"chosen_colour_2", 17, KeyboardRecord(4, 2, false), 1, 60, {0, 255, 18, 255}},
        StepCase{"chosen_colour_other", 17, KeyboardRecord(4, 7, false), 1, 60, {255, 0, 85, 255}},
        // c = 1; ring 2 (key 8) shows wheel(1 + 21)
        StepCase{"ring_wave", 18, KeyboardRecord(4, 1, true), 1, 8, {255, 140, 0, 255}},
        // x = 64 twice: first fixed colour, then (after x passed 0 at step 128) the second
        StepCase{"four_colour_breathing_first", 26, KeyboardRecord(4, 1, false), 64, 0, {0, 255, 180, 254}},
        StepCase{"four_colour_breathing_second", 26, KeyboardRecord(4, 1, false), 192, 0, {0, 255, 0, 254}},
        StepCase{"off", 28, KeyboardRecord(4, 1, true), 1, 51, {0, 0, 0, 0}},
        // Silence in the column style: every key shows the (black) background at full brightness.
        StepCase{"audio_styles_silent", 29, KeyboardRecord(4, 1, true), 3, 51, {0, 0, 0, 255}},
        // No colour handed in yet: black at the brightness level.
        StepCase{"colour_input_none", 30, KeyboardRecord(2, 1, true), 3, 51, {0, 0, 0, 135}}));

INSTANTIATE_TEST_SUITE_P(
    LevelsAndTwinkles, KeyboardModeStep,
    ::testing::Values(
        // entry hue of key 5: 33 x 6 mod 192 = 6; one step: wheel(7)
        StepCase{"per_key_spectrum", 11, KeyboardRecord(4, 0, true), 1, 5, {255, 22, 0, 255}},
        // key 43 (column 2, row 2) starts at phase 72 - 40 + 20 = 52; +2: twinkle(54) = 81, 255 x 81 / 256 =
        // 80
        StepCase{"twinkle_levels", 15, KeyboardRecord(4, 0, false, kColour), 1, 43, {10, 20, 30, 80}},
        // snake up: its first key (0) gets 254, decay 40 -> 214, 255 x 214 / 256 = 213
        StepCase{"snake_up", 21, KeyboardRecord(4, 1, false, kColour), 1, 0, {10, 20, 30, 213}},
        // snake down starts by wrapping the counter to 170: nothing lit
        StepCase{"snake_down_wraps_first", 21, KeyboardRecord(4, 0, false, kColour), 1, 0, {10, 20, 30, 0}},
        // rain: c = 1; row 1's drops include key 120; 255 - 5 = 250, 255 x 250 / 256 = 249
        StepCase{"rain_single", 24, KeyboardRecord(4, 1, false, kColour), 1, 120, {10, 20, 30, 249}},
        // multicolour rain shows wheel(H) at bright: the drop's hue 0 + 3
        StepCase{"rain_multicolour", 24, KeyboardRecord(4, 1, true), 1, 120, {255, 7, 0, 255}}));

TEST(KeyboardModeStep, ModesWithoutAStepChangeNothing) {
    KeyboardLightState state;
    KeyLightFrame frame;
    frame.Fill(0x11223344);
    std::mt19937 random(1);
    for (int mode : {0, 19, 31, 255, -1}) {
        EXPECT_FALSE(KeyboardModeHasStep(mode)) << mode;
        EXPECT_FALSE(KeyboardStep(mode, KeyboardRecord(4, 1, true), state, frame, random, 0)) << mode;
    }
    EXPECT_EQ(frame.Get(0), 0x11223344u);
    for (int mode = 1; mode <= 30; ++mode) EXPECT_EQ(KeyboardModeHasStep(mode), mode != 19) << mode;
}

TEST(KeyboardModeStep, StepPeriodsDecideWhenAStepIsDue) {
    struct Case {
        int mode, speed, ticks;
        bool due;
    };
    const std::vector<Case> cases = {
        {1, 4, 0, true},   {2, 3, 0, true},   {1, 0, 7, false}, {1, 0, 8, true},   {2, 0, 11, false},
        {2, 0, 12, true},  {17, 2, 2, false}, {17, 2, 3, true}, {29, 4, 1, false}, {29, 0, 2, true},
        {26, 1, 4, false}, {26, 1, 5, true},  {27, 2, 3, true}, {19, 3, 3, true},  {19, 3, 2, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyboardStepDue(c.mode, c.speed, c.ticks), c.due)
            << c.mode << " " << c.speed << " " << c.ticks;
}

TEST(KeyboardModeStep, ReactiveFadeRisesAndFalls) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(3);
    const LightInfoRecord light = KeyboardRecord(4, 0, false, kColour);
    state.level[30] = 200;
    state.phase[30] = KeyboardLightState::Rising;
    state.level[31] = 12;
    state.phase[31] = KeyboardLightState::Falling;
    KeyboardStep(7, light, state, frame, random, 0);
    EXPECT_EQ(state.level[30], 215);
    EXPECT_EQ(state.level[31], 7);
    for (int i = 0; i < 4; ++i) KeyboardStep(25, light, state, frame, random, 0);
    EXPECT_EQ(state.level[30], 255);  // held at the top
    EXPECT_EQ(state.level[31], 0);    // and at the bottom
    EXPECT_EQ(EntryOf(frame.Get(30)), (KeyEntry{10, 20, 30, 254}));
}

TEST(KeyboardModeStep, MaskFlowLightsTheNeighboursOnTheNextStep) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(3);
    const LightInfoRecord light = KeyboardRecord(4, 0, false, kColour);
    KeyboardEntryStep(8, state);
    EXPECT_EQ(state.hue[51], 180);  // 33 x 52 mod 192
    SetMaskBit(state, 10, 2);       // key 51
    KeyboardStep(8, light, state, frame, random, 0);
    EXPECT_EQ(state.level[51], 215);
    EXPECT_EQ(state.hue[51], 187);
    EXPECT_EQ(state.level[30], 0);
    KeyboardStep(8, light, state, frame, random, 0);
    // A and D carried the bit up and down in column 10 and into column 9, B and C into column 11.
    for (int key : {30, 72, 50, 52}) EXPECT_EQ(state.level[key], 215) << key;
    EXPECT_EQ(state.level[51], 175);
    EXPECT_EQ(state.hue[51], 0);  // 187 + 7 reaches 192
}

TEST(KeyboardModeStep, MaskSpreadMovesSidewaysOnly) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(3);
    const LightInfoRecord light = KeyboardRecord(4, 0, false, kColour);
    SetMaskBit(state, 10, 2);
    KeyboardStep(9, light, state, frame, random, 0);
    KeyboardStep(9, light, state, frame, random, 0);
    EXPECT_EQ(state.level[50], 215);
    EXPECT_EQ(state.level[52], 215);
    EXPECT_EQ(state.level[30], 0);
    EXPECT_EQ(state.level[72], 0);
}

TEST(KeyboardModeStep, CentreRippleRunsEverySecondStep) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(3);
    const LightInfoRecord light = KeyboardRecord(4, 0, false, kColour);
    KeyboardEntryStep(13, state);
    EXPECT_EQ(MaskColumn(state, 9), 64);
    KeyboardStep(13, light, state, frame, random, 0);
    EXPECT_EQ(state.a[9], 32);
    EXPECT_EQ(state.d[9], 128);
    EXPECT_EQ(state.b[10], 64);
    KeyboardStep(13, light, state, frame, random, 0);
    EXPECT_EQ(state.level[129], 0);  // nothing moved on this step
    KeyboardStep(13, light, state, frame, random, 0);
    EXPECT_EQ(state.level[129], 215);  // bit 5 of column 9: key 129, lit and decayed once
}

TEST(KeyboardModeStep, SideRipplesStartAtColumnOne) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(3);
    const LightInfoRecord light = KeyboardRecord(4, 0, false, kColour);
    KeyboardEntryStep(16, state);
    EXPECT_EQ(MaskColumn(state, 1), 1);
    KeyboardStep(16, light, state, frame, random, 0);
    KeyboardStep(16, light, state, frame, random, 0);
    EXPECT_EQ(state.level[21], 215);  // column 1, row 1
    EXPECT_EQ(state.level[0], 215);   // column 2, row 0
}

TEST(KeyboardModeStep, LightShowWalksItsPhases) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(3);
    const LightInfoRecord light = KeyboardRecord(4, 0, false, kColour);
    KeyboardStep(14, light, state, frame, random, 0);
    for (int key : {21, 42, 63, 84, 105}) EXPECT_EQ(state.level[key], 215) << key;  // row 0: column 1
    EXPECT_EQ(state.level[0], 0);
    for (int i = 1; i < 21; ++i) KeyboardStep(14, light, state, frame, random, 0);
    EXPECT_EQ(state.showPhase, 1);
    KeyboardStep(14, light, state, frame, random, 0);
    const auto pair = keyboard_layout::Pairs()[0];
    EXPECT_EQ(state.level[pair[0]], 215);
    EXPECT_EQ(state.level[pair[1]], 215);
    // The pairs, the ripple from key 52 out to key 124, and back to the rows.
    bool sawRipple = false;
    for (int i = 0; i < 400 && !(sawRipple && state.showPhase == 0); ++i) {
        KeyboardStep(14, light, state, frame, random, 0);
        sawRipple = sawRipple || state.showPhase == 3;
    }
    EXPECT_TRUE(sawRipple);
    EXPECT_EQ(state.showPhase, 0);
}

TEST(KeyboardModeStep, SparkleLightsAtMostSixSweepKeys) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(11);
    KeyboardStep(10, KeyboardRecord(4, 0, true), state, frame, random, 0);
    const auto& sweep = keyboard_layout::SweepOrder();
    int lit = 0;
    for (int k = 0; k < lighting::kLogicalKeyCount; ++k) {
        if (state.level[k] == 0) continue;
        ++lit;
        EXPECT_EQ(state.level[k], 215) << k;
        EXPECT_NE(std::find(sweep.begin(), sweep.begin() + keyboard_layout::kSweepUsed, k),
                  sweep.begin() + keyboard_layout::kSweepUsed)
            << k;
    }
    EXPECT_GE(lit, 1);
    EXPECT_LE(lit, 6);
}

TEST(KeyboardModeStep, TwinklePhasesStartFromTheColumnMatrix) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(3);
    KeyboardEntryStep(22, state);
    // column 0: 192 - 35 = 157 (no key), 122 (key 120), 87, 52, 17 (key 123), then 17 - 35 leaves
    // 0..191 and takes 17 - 98 = 175 (key 124)
    EXPECT_EQ(state.twinkle[120], 122);
    EXPECT_EQ(state.twinkle[123], 17);
    EXPECT_EQ(state.twinkle[124], 175);
    EXPECT_EQ(state.hue[3], 35);  // column 5
    // column 5: 152 - 35 = 117 (key 3), 82 (key 25), 47 (key 46)
    EXPECT_EQ(state.twinkle[46], 47);
    KeyboardStep(22, KeyboardRecord(4, 0, false, kColour), state, frame, random, 0);
    EXPECT_EQ(state.twinkle[46], 48);
    EXPECT_EQ(state.twinkle[124], 175);  // not in the sweep: left as it was
    // twinkle(48) = 109 at bright 255: 108
    EXPECT_EQ(EntryOf(frame.Get(46)), (KeyEntry{10, 20, 30, 108}));
}

TEST(KeyboardModeStep, BlinkTogglesOnTheClock) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(3);
    const LightInfoRecord light = KeyboardRecord(4, 0, true, {}, 4);  // 200 ms
    KeyboardStep(23, light, state, frame, random, 1000);
    EXPECT_EQ(EntryOf(frame.Get(51)), (KeyEntry{255, 81, 0, 255}));  // on, wheel(16)
    KeyboardStep(23, light, state, frame, random, 1199);
    EXPECT_EQ(EntryOf(frame.Get(51)).intensity, 255);
    KeyboardStep(23, light, state, frame, random, 1200);
    EXPECT_EQ(EntryOf(frame.Get(51)), (KeyEntry{0, 0, 0, 0}));
}

TEST(KeyboardModeStep, CustomColoursKeepTheirColourAndTakeTheBrightness) {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(3);
    frame.Set(7, lighting::PackLightEntry(1, 2, 3, 9));
    KeyboardStep(20, KeyboardRecord(2, 0, true), state, frame, random, 0);
    EXPECT_EQ(EntryOf(frame.Get(7)), (KeyEntry{1, 2, 3, 135}));
}

TEST(KeyboardModeStep, ResetClearsTheAnimationAndEntryHuesFollowTheKey) {
    KeyboardLightState state;
    state.level.fill(9);
    state.a[3] = 1;
    state.counter = 5;
    state.Reset();
    EXPECT_EQ(state.level[100], 0);
    EXPECT_EQ(state.a[3], 0);
    EXPECT_EQ(state.counter, 0);
    KeyboardEntryStep(1, state);
    EXPECT_EQ(state.hue[0], 33);
    EXPECT_EQ(state.hue[169], 33 * 170 % 192);
}

}  // namespace
}  // namespace zevik::test

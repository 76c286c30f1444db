// The common lighting steps, run without a thread: counters, hue advance, blink timing and what the
// frame shows.

#include "devices/lighting_steps.h"

#include <gtest/gtest.h>

#include <vector>

#include "devices/lighting_tables.h"

namespace zevik::test {
namespace {

using namespace zevik::lighting;

LightInfoRecord Record(int brightness, int speed, int direction, bool multi, Rgb colour = {10, 20, 30}) {
    LightInfoRecord r;
    r.light = static_cast<std::uint8_t>(brightness);
    r.speed = static_cast<std::uint8_t>(speed);
    r.fx = static_cast<std::uint8_t>(direction);
    r.multiColor = multi ? 1 : 0;
    r.red = colour.r;
    r.green = colour.g;
    r.blue = colour.b;
    return r;
}

void ExpectWholeFrame(const CLightFrame& frame, std::uint32_t entry) {
    for (int i = 0; i < frame.Size(); ++i) {
        ASSERT_EQ(frame.Get(i), entry) << "entry " << i;
    }
}

class LightingStepsTest : public ::testing::Test {
protected:
    void SetUp() override { frame.Resize(15); }
    CLightFrame frame;
    LightAnimation state;
};

TEST_F(LightingStepsTest, BreatheCountsDownFromZeroToTheTopWithoutAdvancingTheHue) {
    const auto light = Record(4, 0, 0, true);
    state.hue = 32;
    StepBreathe(light, state, frame);
    EXPECT_EQ(state.x, 127);
    EXPECT_EQ(state.hue, 32) << "the hue waits until x returns to 0";
    ExpectWholeFrame(frame, PackLightEntry(Wheel(32), Scale256(Breathing(127), 255)));

    for (int i = 0; i < 126; ++i) {
        StepBreathe(light, state, frame);
    }
    EXPECT_EQ(state.x, 1);
    EXPECT_EQ(state.hue, 32);
    StepBreathe(light, state, frame);
    EXPECT_EQ(state.x, 0);
    EXPECT_EQ(state.hue, 48);
}

TEST_F(LightingStepsTest, BreatheHueWrapsAboveOneNinetyTwo) {
    struct Case {
        int hueBefore;
        int hueAfter;
    };
    const Case cases[] = {{176, 192}, {192, 0}, {0, 16}};
    for (const auto& c : cases) {
        state = {};
        state.x = 127;  // counting up, the next step reaches 128 and wraps to 0
        state.hue = static_cast<std::uint8_t>(c.hueBefore);
        StepBreathe(Record(2, 0, 1, true), state, frame);
        EXPECT_EQ(state.x, 0);
        EXPECT_EQ(state.hue, c.hueAfter) << "from " << c.hueBefore;
    }
}

TEST_F(LightingStepsTest, SingleColourStepsShowTheRecordColourAtTheLevel) {
    const Rgb colour{200, 100, 50};
    const auto light = Record(2, 0, 1, false, colour);
    StepSteady(light, state, frame);
    ExpectWholeFrame(frame, PackLightEntry(colour, 135));

    state.x = 62;
    StepBreathe(light, state, frame);
    EXPECT_EQ(state.x, 63);
    ExpectWholeFrame(frame, PackLightEntry(colour, Scale256(255, 135)));

    StepOff(light, state, frame);
    ExpectWholeFrame(frame, 0);
}

TEST_F(LightingStepsTest, SpectrumWalksTheWheel) {
    const auto light = Record(4, 0, 0, false);
    StepSpectrum(light, state, frame);
    EXPECT_EQ(state.x, 191);
    ExpectWholeFrame(frame, PackLightEntry(Wheel(191), 255));
    StepSpectrum(Record(4, 0, 1, false), state, frame);
    EXPECT_EQ(state.x, 0);
}

TEST_F(LightingStepsTest, BreatheFourColoursAdvancesTheColourAtEachCycle) {
    const auto light = Record(4, 0, 1, false);
    std::vector<int> indexes;
    for (int cycle = 0; cycle < 5; ++cycle) {
        for (int i = 0; i < 128; ++i) {
            StepBreatheFourColours(light, state, frame);
        }
        indexes.push_back(state.hue);
    }
    EXPECT_EQ(indexes, (std::vector<int>{1, 2, 3, 0, 1}));
    StepBreatheFourColours(light, state, frame);
    ExpectWholeFrame(frame, PackLightEntry(FixedColour(1), Scale256(Breathing(1), 255)));
}

struct BlinkCase {
    int speed;
    std::uint64_t periodMs;
};

class BlinkTest : public LightingStepsTest, public ::testing::WithParamInterface<BlinkCase> {};

TEST_P(BlinkTest, TogglesOncePerBlinkPeriod) {
    const auto [speed, periodMs] = GetParam();
    const auto light = Record(4, speed, 0, true);
    std::uint64_t now = 10'000;
    StepBlink(light, state, frame, now);  // the first step toggles at once
    ASSERT_EQ(state.on, 1);
    EXPECT_EQ(state.x, 16);
    ExpectWholeFrame(frame, PackLightEntry(Wheel(16), 255));

    // Stepping every 15.625 ms system tick: the flag changes exactly at each period.
    std::vector<std::uint64_t> toggles;
    std::uint8_t last = state.on;
    for (std::uint64_t t = 0; t <= 4 * periodMs; t += 5) {
        StepBlink(light, state, frame, now + t);
        if (state.on != last) {
            toggles.push_back(t);
            last = state.on;
        }
    }
    EXPECT_EQ(toggles, (std::vector<std::uint64_t>{periodMs, 2 * periodMs, 3 * periodMs, 4 * periodMs}));
    EXPECT_EQ(state.on, 1);
    EXPECT_EQ(state.x, 16 * 5) << "x advances by 16 per toggle";
}

INSTANTIATE_TEST_SUITE_P(Speeds, BlinkTest,
                         ::testing::Values(BlinkCase{4, 200}, BlinkCase{3, 400}, BlinkCase{0, 1600},
                                           BlinkCase{9, 200}),  // a speed beyond the table is clamped
                         [](const ::testing::TestParamInfo<BlinkCase>& param) {
                             return "speed" + std::to_string(param.param.speed);
                         });

TEST_F(LightingStepsTest, BlinkOffShowsBlackAndXWrapsAtOneNinetyTwo) {
    const auto light = Record(4, 4, 0, false, {1, 2, 3});
    state.x = 176;
    StepBlink(light, state, frame, 1000);
    EXPECT_EQ(state.x, 0) << "176 + 16 reaches 192";
    ExpectWholeFrame(frame, PackLightEntry(Rgb{1, 2, 3}, 255));
    StepBlink(light, state, frame, 1200);
    EXPECT_EQ(state.on, 0);
    ExpectWholeFrame(frame, 0);
}

TEST_F(LightingStepsTest, BlinkFourColoursCyclesTheFixedColours) {
    const auto light = Record(3, 4, 0, true);
    std::vector<int> shown;
    for (int i = 0; i < 8; ++i) {
        StepBlinkFourColours(light, state, frame, 200u * static_cast<unsigned>(i));
        if (state.on != 0) {
            shown.push_back(state.hue);
            EXPECT_EQ(frame.Get(0), PackLightEntry(FixedColour(state.hue), 195));
        } else {
            EXPECT_EQ(frame.Get(0), 0u);
        }
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 3, 1, 3}));
}

TEST_F(LightingStepsTest, OutOfRangeRecordValuesAreBoundedNotIndexed) {
    // A profile file can hold any byte; the steps must not read outside their tables.
    const auto light = Record(250, 250, 1, true);
    state.hue = 255;
    state.x = 200;
    StepBreathe(light, state, frame);
    StepBreatheFourColours(light, state, frame);
    StepBlink(light, state, frame, 0);
    StepBlinkFourColours(light, state, frame, 0);
    StepSpectrum(light, state, frame);
    EXPECT_EQ(EntryIntensity(frame.Get(0)), 255) << "brightness level 250 is clamped to the top level";
}

TEST(LightFrameTest, EntriesOutsideTheFrameAreIgnored) {
    CLightFrame frame;
    frame.Resize(3);
    frame.Set(3, 0x12345678);
    frame.Set(-1, 0x12345678);
    EXPECT_EQ(frame.Get(3), 0u);
    EXPECT_EQ(frame.Get(-1), 0u);
    frame.Set(2, 0x12345678);
    EXPECT_EQ(frame.Get(2), 0x12345678u);
    frame.Resize(0);
    EXPECT_EQ(frame.Get(0), 0u);
}

}  // namespace
}  // namespace zevik::test

// The LED-strip lighting: exact frames of the modes, the travelling lights over the seed ring, the
// step periods, and the engine's fallback to the lighting sequence.

#include "devices/strip_light_engine.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "devices/lighting_tables.h"

namespace zevik::test {
namespace {

using namespace zevik::lighting;

constexpr Rgb kColour{10, 20, 30};

LightInfoRecord Record(int brightness, int speed, int direction, bool multi) {
    LightInfoRecord r;
    r.light = static_cast<std::uint8_t>(brightness);
    r.speed = static_cast<std::uint8_t>(speed);
    r.fx = static_cast<std::uint8_t>(direction);
    r.multiColor = multi ? 1 : 0;
    r.red = kColour.r;
    r.green = kColour.g;
    r.blue = kColour.b;
    return r;
}

struct FrameCase {
    std::string name;
    int mode;
    LightInfoRecord light;
    int steps;
    std::function<std::uint32_t(int led)> expected;
};

class StripFrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(StripFrameTest, ShowsTheExactFrame) {
    const FrameCase& c = GetParam();
    StripLightState state;
    CLightFrame frame;
    frame.Resize(kStripLedCount);
    frame.Fill(0x12345678);  // whatever an earlier mode left
    for (int s = 0; s < c.steps; ++s) ASSERT_TRUE(StripStep(c.mode, c.light, state, frame, 0));
    for (int i = 0; i < kStripLedCount; ++i) EXPECT_EQ(frame.Get(i), c.expected(i)) << "LED " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StripFrameTest,
    ::testing::Values(
        // Wave: the counter moves once, neighbours stand 7 wheel positions apart.
        FrameCase{"WaveMulticolourUp", 0, Record(4, 0, 1, true), 1,
                  [](int i) { return PackLightEntry(Wheel((2 + 7 * i) % 192), 255); }},
        FrameCase{"WaveMulticolourDownWraps", 0, Record(4, 0, 0, true), 1,
                  [](int i) { return PackLightEntry(Wheel((7 * i) % 192), 255); }},
        FrameCase{"WaveOneColourFollowsTheWaveCurve", 0, Record(2, 0, 1, false), 3,
                  [](int i) { return PackLightEntry(kColour, static_cast<std::uint8_t>(135 * Wave((4 + 7 * i) % 96) / 256)); }},
        FrameCase{"ColourCycle", 1, Record(3, 0, 1, false), 5,
                  [](int) { return PackLightEntry(Wheel(5), 195); }},
        FrameCase{"ColourCycleDown", 1, Record(3, 0, 0, true), 2,
                  [](int) { return PackLightEntry(Wheel(190), 195); }},
        FrameCase{"BreathingAtItsTop", 2, Record(4, 0, 1, false), 64,
                  [](int) { return PackLightEntry(kColour, 254); }},
        // One whole breath: the counter is back at 0 and the multicolour hue moved on by 16.
        FrameCase{"BreathingNextHueAfterABreath", 2, Record(4, 0, 1, true), 128,
                  [](int) { return PackLightEntry(Wheel(16), 0); }},
        FrameCase{"Static", 3, Record(1, 0, 1, true), 1, [](int) { return PackLightEntry(kColour, 80); }},
        FrameCase{"Off", 8, Record(4, 4, 1, true), 1, [](int) { return 0u; }}),
    [](const auto& p) { return p.param.name; });

TEST(StripLightingTest, PeriodsAreTurnsOfThirtyOneMilliseconds) {
    const int turns[] = {8, 6, 4, 2, 1};
    for (int speed = 0; speed <= 4; ++speed) {
        StripLightEngine engine;
        engine.SetLighting(3, Record(4, speed, 1, false));
        EXPECT_EQ(engine.PeriodTurns(), turns[speed]) << "speed " << speed;
        EXPECT_EQ(engine.PeriodTicks() * 15625, turns[speed] * 31250) << "speed " << speed;
    }
    EXPECT_EQ(StripStepPeriod(9), 1);  // a speed out of range is bounded
}

TEST(StripLightingTest, MirroredLightWithSeedEntryTwoLightsPairThreeAndTwelve) {
    StripLightEngine engine;
    const std::uint8_t ring[] = {0, 0, 1};
    engine.SetSeedRing(ring);
    engine.SetLighting(7, Record(4, 0, 1, false));
    engine.Step(0);
    EXPECT_EQ(engine.State().level[2], 215);  // 255, then one decay step
    for (int i = 0; i < kStripLedCount; ++i) {
        const std::uint8_t expected = (i == 3 || i == 12) ? 214 : 0;
        EXPECT_EQ(EntryIntensity(engine.Frame().Get(i)), expected) << "LED " << i;
    }
    EXPECT_EQ(EntryColour(engine.Frame().Get(3)), kColour);
}

// Where a single ring entry stands after one seeding step, by mode, direction and start.
struct RingCase {
    std::string name;
    int mode;
    int direction;
    int start;
    int after;
};

class StripRingTest : public ::testing::TestWithParam<RingCase> {};

TEST_P(StripRingTest, TurnsTheRingByOne) {
    const RingCase& c = GetParam();
    StripLightState state;
    state.seedRing[static_cast<size_t>(c.start)] = 1;
    CLightFrame frame;
    frame.Resize(kStripLedCount);
    ASSERT_TRUE(StripStep(c.mode, Record(4, 0, c.direction, false), state, frame, 0));
    for (int i = 0; i < kStripSeedRingLength; ++i)
        EXPECT_EQ(state.seedRing[static_cast<size_t>(i)], i == c.after ? 1 : 0) << "entry " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Directions, StripRingTest,
    ::testing::Values(RingCase{"StripUp", 6, 1, 5, 6}, RingCase{"StripDown", 6, 0, 5, 4},
                      RingCase{"StripUpWrapsTheWholeRing", 6, 1, 22, 0},
                      RingCase{"StripDownWrapsTheWholeRing", 6, 0, 0, 22},
                      RingCase{"PairsTurnTheOtherWay", 7, 0, 2, 3}, RingCase{"PairsDown", 7, 1, 2, 1},
                      RingCase{"PairsWrapWithinEight", 7, 0, 7, 0},
                      RingCase{"PairsLeaveTheRestOfTheRing", 7, 1, 12, 12}),
    [](const auto& p) { return p.param.name; });

TEST(StripLightingTest, TravellingLightMovesAlongTheStripEverySecondStep) {
    for (const int direction : {0, 1}) {
        StripLightState state;
        state.seedRing[5] = 1;
        CLightFrame frame;
        frame.Resize(kStripLedCount);
        const LightInfoRecord light = Record(4, 0, direction, false);
        StripStep(6, light, state, frame, 0);  // seeds LED 5
        StripStep(6, light, state, frame, 0);  // no seed
        EXPECT_EQ(state.level[4] + state.level[6], 0) << "direction " << direction;
        StripStep(6, light, state, frame, 0);  // seeds the next LED
        const int next = direction != 0 ? 6 : 4;
        EXPECT_EQ(state.level[static_cast<size_t>(next)], 215) << "direction " << direction;
        EXPECT_GT(state.level[5], 0);
        EXPECT_LT(state.level[5], state.level[static_cast<size_t>(next)]);
        EXPECT_EQ(EntryIntensity(frame.Get(next)), 214);
    }
}

TEST(StripLightingTest, TravellingLightShowsFromTheStartWithoutASeed) {
    StripLightEngine engine;
    engine.SetLighting(6, Record(4, 0, 1, false));
    engine.Step(0);
    EXPECT_GT(EntryIntensity(engine.Frame().Get(0)), 0);
}

TEST(StripLightingTest, ModesWithoutAStepPlayTheSequence) {
    LightEffectRecord red;
    red.ledRegMode = 1;  // static colour
    red.ledBrightness = 4;
    red.red = 255;
    red.time = 1000;
    for (const int mode : {5, 9, 200, -1}) {
        StripLightEngine engine;
        engine.LoadEffects({red}, {}, 0);
        engine.SetLighting(mode, Record(1, 0, 1, false));
        engine.Step(10);
        for (int i = 0; i < kStripLedCount; ++i)
            EXPECT_EQ(engine.Frame().Get(i), PackLightEntry(Rgb{255, 0, 0}, 255)) << "mode " << mode << " LED " << i;
    }
    StripLightEngine empty;
    empty.SetLighting(3, Record(4, 0, 1, false));
    empty.Step(0);
    empty.SetLighting(9, Record(4, 0, 1, false));
    empty.Step(0);
    EXPECT_EQ(empty.Frame().Get(7), 0u);  // an empty sequence shows black
}

TEST(StripLightingTest, LayersDrawOverTheModeByLed) {
    StripLightEngine engine;
    LightListRecord off;
    off.ledRegMode = KeyboardLightLayers::Off;
    LightListRecord plain;  // breathing, not enabled: the mode shows
    std::vector<LightListRecord> effects(kStripLedCount, plain);
    effects[4] = off;
    engine.LoadEffects({}, effects, 0);
    engine.SetLighting(3, Record(4, 0, 1, false));
    engine.Step(0);
    EXPECT_EQ(engine.Frame().Get(4), 0u);
    EXPECT_EQ(engine.Frame().Get(5), PackLightEntry(kColour, 255));
}

TEST(StripLightingTest, ModeChangeRestartsTheAnimationButTheSameModeKeepsIt) {
    StripLightEngine engine;
    engine.SetLighting(1, Record(4, 0, 1, true));
    engine.Step(0);
    engine.Step(0);
    engine.SetLighting(1, Record(2, 0, 1, true));  // brightness only
    EXPECT_EQ(engine.State().common.x, 2);
    engine.SetLighting(0, Record(2, 0, 1, true));
    EXPECT_EQ(engine.State().common.x, 0);
}

TEST(StripLightingTest, ShorterFramesAreLitWithoutTouchingMissingLeds) {
    StripLightEngine engine(13);  // the headset's LEDs
    const std::uint8_t ring[] = {1, 1, 1, 1, 1, 1, 1, 1};
    engine.SetSeedRing(ring);
    engine.SetLighting(7, Record(4, 0, 1, false));
    engine.Step(0);
    EXPECT_EQ(engine.Frame().Size(), 13);
    EXPECT_GT(EntryIntensity(engine.Frame().Get(12)), 0);
}

}  // namespace
}  // namespace zevik::test

// The keyboard lighting engine as the lighting thread drives it: mode entry, due steps, the sequence
// in modes without a step, layers over the step, and key events from another thread.

#include "devices/keyboard_light_engine.h"

#include <gtest/gtest.h>

#include <thread>

#include "devices/keyboard_test_support.h"

namespace zevik::test {
namespace {

TEST(KeyboardLightEngine, RunsTheModeStepOnlyWhenDue) {
    KeyboardLightEngine engine(1);
    engine.EnterMode(4, KeyboardRecord(4, 1, true, {}, 0));  // period 8
    EXPECT_FALSE(engine.Turn(7, 0));
    EXPECT_EQ(engine.Frame().Get(0), 0u);
    EXPECT_TRUE(engine.Turn(8, 0));
    EXPECT_EQ(EntryOf(engine.Frame().Get(0)), (KeyEntry{255, 3, 0, 255}));  // wheel(1)
    EXPECT_EQ(engine.PeriodTicks(), 8);
    engine.Step(0);  // a thread with its own tick count: always a step
    EXPECT_EQ(EntryOf(engine.Frame().Get(0)), (KeyEntry{255, 5, 0, 255}));  // wheel(2)
}

TEST(KeyboardLightEngine, EmptySequenceInModeZeroShowsBlack) {
    KeyboardLightEngine engine(1);
    engine.Frame().Fill(lighting::PackLightEntry(1, 2, 3, 4));
    engine.EnterMode(0, KeyboardRecord(4, 1, true, {}, 4));
    EXPECT_TRUE(engine.Turn(0, 0));
    for (int k : {0, 64, 169}) EXPECT_EQ(engine.Frame().Get(k), 0u) << k;
}

TEST(KeyboardLightEngine, SequenceRunsAtTheSpeedOfItsStep) {
    KeyboardLightEngine engine(1);
    LightEffectRecord step;
    step.ledRegMode = 1;
    step.ledBrightness = 4;
    step.ledSpeed = 2;  // period 3
    step.red = 40;
    step.time = 1000;
    engine.EnterMode(19, KeyboardRecord(4, 1, true, {}, 4));
    engine.LoadKeyEffects({step}, {}, 0);
    EXPECT_EQ(engine.PeriodTicks(), 3);
    EXPECT_FALSE(engine.Turn(2, 0));
    EXPECT_TRUE(engine.Turn(3, 0));
    EXPECT_EQ(EntryOf(engine.Frame().Get(10)), (KeyEntry{40, 0, 0, 255}));
}

TEST(KeyboardLightEngine, ApplyingAProfileRestartsTheCounterAndClearsTheRainHues) {
    for (int mode : {24, 11}) {
        KeyboardLightEngine engine(1);
        engine.EnterMode(mode, KeyboardRecord(4, 1, true, {}, 4));
        engine.Turn(0, 0);
        engine.Turn(0, 0);
        engine.LoadKeyEffects({}, {}, 0);
        const KeyboardLightState state = engine.State();
        EXPECT_EQ(state.counter, 0) << mode;
        EXPECT_EQ(state.hue[5] == 0, mode == 24) << mode;  // 11 keeps its hues (8 after two steps)
    }
}

TEST(KeyboardLightEngine, LayersDrawOverTheModeStep) {
    KeyboardLightEngine engine(1);
    LightListRecord stat;
    stat.ledRegMode = 1;
    stat.ledBrightness = 1;
    stat.red = 9;
    engine.EnterMode(4, KeyboardRecord(4, 1, true, {}, 4));
    engine.LoadKeyEffects({}, {LightListRecord{}, stat}, 0);
    engine.Turn(0, 0);
    EXPECT_EQ(EntryOf(engine.Frame().Get(1)), (KeyEntry{9, 0, 0, 80}));
    EXPECT_EQ(EntryOf(engine.Frame().Get(0)), (KeyEntry{255, 3, 0, 255}));
}

TEST(KeyboardLightEngine, ModeChangeResetsTheAnimation) {
    KeyboardLightEngine engine(1);
    engine.EnterMode(7, KeyboardRecord(4, 0, false));
    engine.KeyEvent(30, KeyEventState::Pressed);
    EXPECT_EQ(engine.State().level[30], 255);
    engine.EnterMode(8, KeyboardRecord(4, 0, false));
    EXPECT_EQ(engine.State().level[30], 0);
    EXPECT_EQ(engine.Mode(), 8);
    engine.KeyEvent(51, KeyEventState::Pressed);
    EXPECT_EQ(engine.State().a[10], 4);
}

TEST(KeyboardLightEngine, KeyEventsFromAnotherThreadWhileStepping) {
    KeyboardLightEngine engine(1);
    engine.EnterMode(25, KeyboardRecord(4, 0, true, {}, 4));
    std::thread presser([&] {
        for (int i = 0; i < 2000; ++i) {
            const int key = 22 + i % 60;
            engine.KeyEvent(key, KeyEventState::Pressed);
            engine.KeyEvent(key, KeyEventState::Released);
        }
    });
    for (int i = 0; i < 2000; ++i) engine.Turn(0, static_cast<std::uint64_t>(i));
    presser.join();
    // Every press was matched by its release: nothing is left held.
    const KeyboardLightState state = engine.State();
    for (int k = 0; k < lighting::kLogicalKeyCount; ++k) EXPECT_EQ(state.pressed[k], 0) << k;
}

TEST(KeyboardLightEngine, EveryModeStaysWithinTheBrightnessUnderRandomKeys) {
    std::mt19937 keys(99);
    for (int mode = 0; mode <= 31; ++mode) {
        for (int variant = 0; variant < 4; ++variant) {
            KeyboardLightEngine engine(static_cast<std::uint32_t>(mode));
            const int brightness = 1 + variant % 3;
            engine.EnterMode(mode,
                             KeyboardRecord(brightness, variant / 2, variant % 2 == 1, {255, 255, 255}, 4));
            for (int turn = 0; turn < 400; ++turn) {
                const int key = static_cast<int>(keys() % 180);
                engine.KeyEvent(key, turn % 3 == 0 ? KeyEventState::Released : KeyEventState::Pressed);
                engine.Turn(0, static_cast<std::uint64_t>(turn) * 16);
            }
            for (int k = 0; k < lighting::kLogicalKeyCount; ++k) {
                ASSERT_LE(lighting::EntryIntensity(engine.Frame().Get(k)), lighting::Brightness(brightness))
                    << "mode " << mode << " variant " << variant << " key " << k;
            }
        }
    }
}

}  // namespace
}  // namespace zevik::test

// The per-key effect layers over the key frame, and the lighting sequence player.

#include "devices/keyboard_light_layers.h"

#include <gtest/gtest.h>

#include <vector>

#include "devices/keyboard_test_support.h"
#include "devices/light_sequence_player.h"

namespace zevik::test {
namespace {

LightListRecord Effect(int type, int brightness, int speed, bool multi, bool enabled,
                       lighting::Rgb colour = {1, 2, 3}) {
    LightListRecord r;
    r.ledRegMode = static_cast<std::uint8_t>(type);
    r.ledBrightness = static_cast<std::uint8_t>(brightness);
    r.ledSpeed = static_cast<std::uint8_t>(speed);
    r.ledMultiColor = multi ? 1 : 0;
    r.red = colour.r;
    r.green = colour.g;
    r.blue = colour.b;
    r.present = enabled ? 1 : 0;
    return r;
}

constexpr std::uint32_t kUnderneath = lighting::PackLightEntry(9, 9, 9, 9);

TEST(KeyboardLightLayers, FixedLayersOverwriteTheirKeysOnly) {
    KeyboardLightLayers layers;
    std::vector<LightListRecord> effects(6);  // type 0, not enabled: nothing drawn
    effects[3] = Effect(1, 2, 0, false, false);
    effects[5] = Effect(4, 4, 0, true, true);
    layers.Load(effects);
    KeyLightFrame frame;
    frame.Fill(kUnderneath);
    layers.Run(frame, 0);
    EXPECT_EQ(EntryOf(frame.Get(3)), (KeyEntry{1, 2, 3, 135}));
    EXPECT_EQ(frame.Get(5), 0u);
    for (int key : {0, 4, 6, 169}) EXPECT_EQ(frame.Get(key), kUnderneath) << key;
}

TEST(KeyboardLightLayers, BreathingRisesBySpeedPlusFourAndAdvancesTheHue) {
    KeyboardLightLayers layers;
    layers.Load({Effect(0, 4, 0, true, true), Effect(0, 4, 3, false, false)});
    KeyLightFrame frame;
    frame.Fill(kUnderneath);
    layers.Run(frame, 0);
    EXPECT_EQ(layers.Phase(0), 4);
    EXPECT_EQ(EntryOf(frame.Get(0)), (KeyEntry{255, 1, 0, 3}));  // wheel(0), breathing(4) = 4 -> 3
    EXPECT_EQ(frame.Get(1), kUnderneath);                        // not enabled
    for (int i = 1; i < 31; ++i) layers.Run(frame, 0);
    EXPECT_EQ(layers.Phase(0), 124);
    layers.Run(frame, 0);  // 128 passes 127
    EXPECT_EQ(layers.Phase(0), 0);
    EXPECT_EQ(layers.Hue(0), 1);
    layers.Restart();
    EXPECT_EQ(layers.Hue(0), 0);
}

TEST(KeyboardLightLayers, BlinkTogglesEveryBlinkPeriod) {
    KeyboardLightLayers layers;
    layers.Load({Effect(2, 4, 4, true, false)});  // 200 ms
    KeyLightFrame frame;
    layers.Run(frame, 5000);
    EXPECT_EQ(EntryOf(frame.Get(0)), (KeyEntry{255, 65, 0, 255}));  // on at hue 14
    layers.Run(frame, 5199);
    EXPECT_EQ(EntryOf(frame.Get(0)).intensity, 255);
    layers.Run(frame, 5200);
    EXPECT_EQ(frame.Get(0), 0u);
    EXPECT_EQ(layers.Hue(0), 28);
}

TEST(KeyboardLightLayers, SpectrumAdvancesEveryCountOfTurns) {
    struct Case {
        int speed, turns, hue;
    };
    for (const Case c : {Case{4, 3, 3}, Case{0, 7, 0}, Case{0, 8, 1}, Case{2, 12, 3}}) {
        KeyboardLightLayers layers;
        layers.Load({Effect(3, 4, c.speed, false, true)});
        KeyLightFrame frame;
        for (int i = 0; i < c.turns; ++i) layers.Run(frame, 0);
        EXPECT_EQ(layers.Hue(0), c.hue) << c.speed << " " << c.turns;
        EXPECT_EQ(EntryOf(frame.Get(0)), EntryOf(lighting::PackLightEntry(lighting::Wheel(c.hue), 255)));
    }
}

TEST(KeyboardLightLayers, ListsLongerThanTheKeysAreCut) {
    KeyboardLightLayers layers;
    layers.Load(std::vector<LightListRecord>(400, Effect(4, 0, 0, false, true)));
    KeyLightFrame frame;
    frame.Fill(kUnderneath);
    layers.Run(frame, 0);
    EXPECT_EQ(frame.Get(169), 0u);
    EXPECT_EQ(frame.Size(), 170);
}

LightEffectRecord SequenceStep(int type, int timeMs, lighting::Rgb colour = {}, bool multi = false) {
    LightEffectRecord r;
    r.ledRegMode = static_cast<std::uint8_t>(type);
    r.ledBrightness = 4;
    r.ledSpeed = 4;
    r.ledDirection = 1;
    r.ledMultiColor = multi ? 1 : 0;
    r.red = colour.r;
    r.green = colour.g;
    r.blue = colour.b;
    r.time = timeMs;
    return r;
}

TEST(LightSequencePlayer, CursorMovesWhenTheStepTimeIsUp) {
    LightSequencePlayer player;
    player.Load({SequenceStep(1, 1000), SequenceStep(1, 500)}, 100);
    struct Case {
        std::uint64_t now;
        std::size_t cursor;
    };
    for (const Case c : {Case{100, 0}, Case{1099, 0}, Case{1100, 1}, Case{1599, 1}, Case{1600, 0}}) {
        player.Advance(c.now);
        EXPECT_EQ(player.Cursor(), c.cursor) << c.now;
    }
}

TEST(LightSequencePlayer, ShowsTheStepAtTheCursorAndBlackWhenEmpty) {
    LightSequencePlayer player;
    LightAnimation state;
    KeyLightFrame frame;
    frame.Fill(kUnderneath);
    player.Play(0, state, frame, -1, 0);
    EXPECT_EQ(frame.Get(100), 0u);

    player.Load({SequenceStep(1, 1000, {7, 8, 9}), SequenceStep(4, 1000, {}, true), SequenceStep(3, 1000)},
                0);
    player.Play(0, state, frame, -1, 10);
    EXPECT_EQ(EntryOf(frame.Get(169)), (KeyEntry{7, 8, 9, 255}));
    // Travelling wave over every key: x = 1, key 2 shows wheel(1 + 24)
    player.Play(0, state, frame, -1, 1000);
    EXPECT_EQ(EntryOf(frame.Get(2)), (KeyEntry{255, 176, 0, 255}));
    player.Play(0, state, frame, -1, 2000);  // a type without a show: black
    EXPECT_EQ(frame.Get(2), 0u);
}

}  // namespace
}  // namespace zevik::test

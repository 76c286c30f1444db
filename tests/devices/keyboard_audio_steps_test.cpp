// The keyboard's music modes, run without a thread: which cells a batch of band levels lights in each
// style (levels of 0, 2000 and 4000 sit at the ends of the height scale and past it), how keys fade
// and hold, the beat total of the ripple style, and the colour input of mode 30.

#include "devices/keyboard_audio_steps.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <thread>

#include "devices/audio_beat_total.h"
#include "devices/keyboard_light_engine.h"
#include "devices/keyboard_light_layout.h"
#include "devices/keyboard_test_support.h"

namespace zevik::test {
namespace {

using lighting::kMatrixColumns;
using lighting::kMatrixRows;
using lighting::kNoKey;
using lighting::MatrixKey;
using Levels = std::array<std::int32_t, KeyboardAudioState::kBands>;

constexpr lighting::Rgb kForeground{200, 0, 0};
constexpr lighting::Rgb kBackground{0, 0, 200};

AudioLightInfoRecord AudioRecord(int style, bool wheelColours = false) {
    AudioLightInfoRecord r;
    r.audioMode = static_cast<std::uint8_t>(style);
    r.fgColorR = kForeground.r, r.fgColorG = kForeground.g, r.fgColorB = kForeground.b;
    r.bkColorR = kBackground.r, r.bkColorG = kBackground.g, r.bkColorB = kBackground.b;
    r.sevenColorFlags = wheelColours ? 1 : 0;
    r.colorTypeFlags = 1;
    return r;
}

Levels Flat(std::int32_t v) {
    Levels levels;
    levels.fill(v);
    return levels;
}

// The bar styles 5 and 6 show band groups (sum / 3): the first band of each group carries 3v, so
// every group's level is v.
Levels Grouped(std::initializer_list<int> firstBands, std::int32_t v) {
    Levels levels{};
    for (int b : firstBands) levels[static_cast<size_t>(b)] = 3 * v;
    return levels;
}

Levels InputFor(int style, std::int32_t v) {
    if (style == 5) return Grouped({0, 2, 5, 8, 12, 17}, v);
    if (style == 6) return Grouped({0, 2, 4, 7, 11, 16}, v);
    return Flat(v);
}

struct AudioStep {
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random{3};
    LightInfoRecord light = KeyboardRecord(4, 1, false);

    explicit AudioStep(int style, bool wheelColours = false) {
        state.Reset();
        state.audio.lighting = AudioRecord(style, wheelColours);
    }
    void Step(const Levels& levels) {
        state.audio.TakeLevels(levels);
        StepAudio(light, state, frame, random);
    }
    bool Lit(int key) const { return state.level[static_cast<size_t>(key)] == 255; }
};

using CellRule = std::function<bool(int column, int row)>;

struct StyleCase {
    int style;
    std::int32_t level;
    CellRule lit;
};

// The ring keys that light: those of rings 0 .. rings - 1 that the sweep order lists.
std::set<int> RingKeys(int rings) {
    std::set<int> swept, keys;
    for (std::uint8_t key : keyboard_layout::SweepOrder()) swept.insert(key);
    for (int p = 0; p < rings; ++p)
        for (std::uint8_t key : keyboard_layout::Rings()[static_cast<size_t>(p)])
            if (key != kNoKey && swept.count(key) != 0) keys.insert(key);
    return keys;
}

TEST(KeyboardAudioStyles, EachStyleLightsTheCellsItsLevelsReach) {
    const auto none = [](int, int) { return false; };
    const auto all = [](int, int) { return true; };
    const StyleCase cases[] = {
        // Columns: h = 7 (none), 1 (rows 1-5), -5 (all rows).
        {0, 0, none},
        {0, 2000, [](int, int r) { return r >= 1; }},
        {0, 4000, all},
        // Mirrored bars: hL = hR = 14 (none); 2 (columns 2-8 and 9-19); y+ = 500 gives 12 (column 9 only).
        {1, 0, none},
        {1, 2000, [](int j, int) { return (j >= 2 && j <= 8) || (j >= 9 && j <= 19); }},
        {1, 4000, [](int j, int) { return j == 9; }},
        // Draining columns fill from h to the bottom in one step, as the columns style does.
        {4, 0, none},
        {4, 2000, [](int, int r) { return r >= 1; }},
        {4, 4000, all},
        // Bars from the left: w = -3 (none), 20 (columns 0-20), 0 (column 0 alone).
        {5, 0, none},
        {5, 2000, [](int j, int) { return j <= 20; }},
        {5, 4000, [](int j, int) { return j == 0; }},
        // Alternating bars: w = 23 (column 0 of the odd rows), 0 (every cell), 19.
        {6, 0, [](int j, int r) { return r % 2 == 1 && j == 0; }},
        {6, 2000, all},
        {6, 4000, [](int j, int r) { return r % 2 == 1 ? j <= 4 : j >= 19; }},
    };
    const std::uint32_t litEntry = lighting::PackLightEntry(kForeground, 254);  // 255 x 255 / 256
    const std::uint32_t darkEntry = lighting::PackLightEntry(kBackground, 255);
    for (const StyleCase& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + ", level " + std::to_string(c.level));
        AudioStep step(c.style);
        step.Step(InputFor(c.style, c.level));
        for (int j = 0; j < kMatrixColumns; ++j) {
            for (int r = 0; r < kMatrixRows; ++r) {
                const int key = MatrixKey(j, r);
                if (key == kNoKey) continue;
                ASSERT_EQ(step.Lit(key), c.lit(j, r)) << "column " << j << ", row " << r;
                // A newly lit draining key shows from the next step on.
                const bool showsLit = step.Lit(key) && c.style != 4;
                EXPECT_EQ(step.frame.Get(key), showsLit ? litEntry : darkEntry)
                    << "column " << j << ", row " << r;
            }
        }
        EXPECT_EQ(step.state.audio.levels, Levels{}) << "the step takes the batch";
    }
}

TEST(KeyboardAudioStyles, RingsLightAsManyRingsAsTheMeanLoudnessAllows) {
    struct RingCase {
        std::int32_t level;
        int rings;         // lit from the centre out
        std::uint8_t hue;  // c after one step upwards: the mean's step s = A x 20 / 600
    };
    // 0: s = 20, no ring; 2000: s = 0, all twelve, the hue stands; 4000: y+ = 500, s = 16, rings 0-3.
    for (const RingCase c : {RingCase{0, 0, 20}, RingCase{2000, 12, 0}, RingCase{4000, 4, 16}}) {
        SCOPED_TRACE("level " + std::to_string(c.level));
        AudioStep step(3);
        step.Step(Flat(c.level));
        const std::set<int> lit = RingKeys(c.rings);
        for (int k = 0; k < lighting::kLogicalKeyCount; ++k)
            EXPECT_EQ(step.Lit(k), lit.count(k) != 0) << "key " << k;
        EXPECT_EQ(step.state.counter, c.hue);
    }
    // Ring 0 is key 51 alone and takes wheel(c + 9).
    AudioStep step(3);
    step.Step(Flat(2000));
    EXPECT_EQ(EntryOf(step.frame.Get(51)),
              (KeyEntry{lighting::Wheel(9).r, lighting::Wheel(9).g, lighting::Wheel(9).b, 254}));
}

TEST(KeyboardAudioStyles, DrainingColumnsEmptyFromTheTopAndRefillOnlyOnceTheBottomFaded) {
    AudioStep step(4);
    step.Step(Flat(2000));  // rows 1-5 filled, shown from the next step
    step.Step(Flat(2000));  // the columns are full: nothing lights again
    for (int j = 0; j < kMatrixColumns; ++j) {
        SCOPED_TRACE("column " + std::to_string(j));
        // Row 1 has nothing lit above it and fades by the group-29 step; the rows below are held.
        if (const int key = MatrixKey(j, 1); key != kNoKey) {
            EXPECT_EQ(step.state.level[static_cast<size_t>(key)], 210);
            EXPECT_EQ(step.frame.Get(key), lighting::PackLightEntry(kForeground, 255 * 210 / 256));
        }
        for (int r = 2; r < kMatrixRows; ++r)
            if (const int key = MatrixKey(j, r); key != kNoKey) {
                EXPECT_TRUE(step.Lit(key)) << "row " << r;
            }
        EXPECT_NE(step.state.audio.columnFlags[static_cast<size_t>(j)], 0);
    }
    // Loud batches keep coming, but a column refills only after its bottom key faded below 10.
    int steps = 2;
    const int bottom = MatrixKey(0, kMatrixRows - 1);
    while (step.state.level[static_cast<size_t>(bottom)] >= 10 && steps < 200) {
        step.Step(Flat(2000));
        ++steps;
        if (step.state.level[static_cast<size_t>(bottom)] >= 10) {
            ASSERT_FALSE(step.Lit(MatrixKey(0, 1))) << "refilled too early at step " << steps;
        }
    }
    ASSERT_LT(steps, 200) << "the bottom key never faded";
    step.Step(Flat(2000));
    EXPECT_TRUE(step.Lit(MatrixKey(0, 1))) << "the drained column fills again";
}

TEST(KeyboardAudioStyles, BetweenBatchesTheKeysOnlyFadeAndAHeldBarKeepsItsInnerKeys) {
    AudioStep step(0);
    step.Step(Flat(2000));  // rows 1-5 lit
    step.Step(Levels{});    // silence: nothing lights
    for (int j = 0; j < 23; ++j) {
        // Row 1 has no lit key above it and fades (255 -> 210); row 2 is held by row 1 (210 >= 10).
        if (const int key = MatrixKey(j, 1); key != kNoKey) {
            EXPECT_EQ(step.state.level[static_cast<size_t>(key)], 210);
        }
        if (const int key = MatrixKey(j, 2); key != kNoKey) {
            EXPECT_EQ(step.state.level[static_cast<size_t>(key)], 255);
        }
    }
}

TEST(KeyboardAudioStyles, ExtremeLevelsSaturateInsteadOfWrapping) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    for (int style : {0, 1, 3, 4, 5, 6}) {
        SCOPED_TRACE("style " + std::to_string(style));
        AudioStep quiet(style);
        quiet.Step(Flat(kMin));  // the height of a negative level lies far above silence
        for (int k = 0; k < lighting::kLogicalKeyCount; ++k) EXPECT_FALSE(quiet.Lit(k)) << "key " << k;
        AudioStep loud(style);
        loud.Step(Flat(kMax));
        int lit = 0;
        for (int k = 0; k < lighting::kLogicalKeyCount; ++k) lit += loud.Lit(k) ? 1 : 0;
        EXPECT_GT(lit, 0) << "the loudest level lights nothing";
    }
}

TEST(KeyboardAudioStyles, AStyleOutsideTheSevenDrawsNothing) {
    AudioStep step(7);
    step.frame.Set(64, 0x12345678);
    step.Step(Flat(2000));
    EXPECT_EQ(step.frame.Get(64), 0x12345678u);
    EXPECT_FALSE(step.Lit(64));
    EXPECT_EQ(step.state.audio.levels, Levels{});
}

TEST(KeyboardAudioStyles, WheelColoursReplaceTheForeground) {
    AudioStep step(0, true);
    step.Step(Flat(2000));
    // Column 0 takes x = c + 10 = 11 after one step upwards; its lit key at row 1 is key 120.
    const lighting::Rgb wheel = lighting::Wheel(11);
    EXPECT_EQ(EntryOf(step.frame.Get(MatrixKey(0, 1))), (KeyEntry{wheel.r, wheel.g, wheel.b, 254}));
}

// ---------------------------------------------------------------- through the engine

class KeyboardAudioEngine : public ::testing::Test {
protected:
    void SetUp() override {
        audio::ResetBeatTotal();
        engine.EnterMode(kAudioMode, KeyboardRecord(4, 1, false));
        engine.SetAudioLighting(AudioRecord(kBeatStyle));
    }
    void TearDown() override { audio::ResetBeatTotal(); }
    KeyboardLightEngine engine{5};
};

TEST_F(KeyboardAudioEngine, TheBeatTotalSeedsARippleAtKey51OnTheThirdLoudBatch) {
    struct BeatCase {
        std::int32_t level;
        std::int32_t totalAfterTwo;  // the first two batches' sum; none of them reaches the threshold
    };
    // 2000: y+ = 0, each batch adds 25; 2004: y+ = 500, adds 5; silence adds nothing.
    for (const BeatCase c : {BeatCase{2000, 50}, BeatCase{2004, 10}, BeatCase{0, 0}}) {
        SCOPED_TRACE("level " + std::to_string(c.level));
        audio::ResetBeatTotal();
        engine.EnterMode(kAudioMode, KeyboardRecord(4, 1, false));
        engine.AudioLevels(Flat(c.level));
        engine.AudioLevels(Flat(c.level));
        EXPECT_EQ(audio::BeatTotal(), c.totalAfterTwo);
        EXPECT_EQ(engine.State().audio.levels, Levels{}) << "the beat style takes the batch at once";
        engine.AudioLevels(Flat(c.level));
        const KeyboardLightState state = engine.State();
        const bool beat = c.level == 2000;
        EXPECT_EQ(audio::BeatTotal(), beat ? 0 : c.totalAfterTwo * 3 / 2);
        for (const auto* mask : {&state.a, &state.b, &state.c, &state.d})
            EXPECT_EQ((*mask)[10], beat ? 1u << 2 : 0u) << "key 51 sits at column 10, row 2";
    }
    engine.AudioLevels(Flat(2000));
    engine.AudioLevels(Flat(2000));
    engine.AudioLevels(Flat(2000));
    engine.Step(0);
    EXPECT_EQ(engine.State().level[kBeatKey], 255 - 45) << "lit by the mask, then one decay step";
}

TEST_F(KeyboardAudioEngine, LevelsWaitForTheMusicModeAndItsResetClearsThem) {
    engine.EnterMode(1, KeyboardRecord(4, 1, false));
    engine.AudioLevels(Flat(2000));
    EXPECT_EQ(engine.State().audio.levels, Flat(2000)) << "kept outside mode 29, no beat counted";
    EXPECT_EQ(audio::BeatTotal(), 0);
    engine.EnterMode(kAudioMode, KeyboardRecord(4, 1, false));
    EXPECT_EQ(engine.State().audio.levels, Levels{});
    for (std::int32_t flag : engine.State().audio.columnFlags) EXPECT_NE(flag, 0);

    // Changing the style alone does not reset: the batch waits for the next step.
    engine.SetAudioLighting(AudioRecord(0));
    engine.AudioLevels(Flat(2000));
    engine.SetAudioLighting(AudioRecord(5));
    EXPECT_EQ(engine.State().audio.levels, Flat(2000));
    engine.Step(0);
    EXPECT_EQ(engine.State().audio.levels, Levels{});
}

TEST_F(KeyboardAudioEngine, ColourInputShowsTheLowBytesOfTheFirstThreeValues) {
    engine.EnterMode(kColourInputMode, KeyboardRecord(2, 1, false));
    const std::array<std::int32_t, 6> first = {256, 0x1FF, 7, 1, 2, 3};
    engine.AudioBands(first);
    const std::array<std::int32_t, 3> shorter = {10, 20, 30};
    engine.AudioBands(shorter);
    EXPECT_EQ((engine.State().audio.colour), (std::array<std::int32_t, 6>{10, 20, 30, 1, 2, 3}));
    engine.AudioBands(first);
    engine.Step(0);
    for (int k : {0, 51, 169})
        EXPECT_EQ(EntryOf(engine.Frame().Get(k)), (KeyEntry{0, 255, 7, 135})) << "key " << k;
}

// The lighting thread steps while the UI thread hands in batches: every step sees one batch whole.
// In the rings style a full batch lights every ring key in the step that takes it (keys lit earlier
// have faded below 255), a silent one none, so a step that saw half a batch would light a part of
// them. Run under ThreadSanitizer too.
TEST_F(KeyboardAudioEngine, AStepSeesABatchWholeWhileBatchesArrive) {
    engine.SetAudioLighting(AudioRecord(3));
    const int allKeys = static_cast<int>(RingKeys(keyboard_layout::kRingCount).size());
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0}, loud{0};
    std::thread lighting([&] {
        while (!stop.load()) {
            engine.Step(0);
            int lit = 0;
            for (std::uint8_t level : engine.State().level) lit += level == 255 ? 1 : 0;
            if (lit != 0 && lit != allKeys) ++torn;
            if (lit == allKeys) ++loud;
        }
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (int batch = 0; loud.load() < 200 && std::chrono::steady_clock::now() < end; ++batch) {
        engine.AudioLevels(Flat(batch % 2 == 0 ? 2000 : 0));
        std::this_thread::yield();
    }
    stop = true;
    lighting.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_GT(loud.load(), 0) << "no step took a loud batch";
}

}  // namespace
}  // namespace zevik::test

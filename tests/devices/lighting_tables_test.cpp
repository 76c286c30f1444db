// The shared lighting tables and building blocks: values the effects of every device depend on, and
// bounded lookups for values that come from files and devices.

#include "devices/lighting_tables.h"

#include <gtest/gtest.h>

#include <vector>

#include "devices/lighting_levels.h"

namespace zevik::test {
namespace {

using namespace zevik::lighting;

struct CounterCase {
    int d, n, x, s;
    int expected;
};

TEST(LightingTablesTest, CounterStepWrapsInBothDirections) {
    const CounterCase cases[] = {
        {1, 192, 191, 1, 0},                                              // reaching n wraps to 0
        {1, 192, 190, 1, 191}, {0, 192, 0, 1, 191},                       // below 0 wraps to n - s
        {0, 96, 3, 7, 89},     {0, 128, 0, 1, 127}, {5, 128, 120, 8, 0},  // any non-zero direction counts up
        {1, 52, 51, 1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CounterStep(c.d, c.n, c.x, c.s), c.expected)
            << "S(" << c.d << ", " << c.n << ", " << c.x << ", " << c.s << ")";
    }
}

std::vector<int> DecaySequence(int group) {
    std::vector<int> seq;
    std::uint8_t level = 255;
    while (level != 0) {
        level = DecayStep(level, group);
        seq.push_back(level);
    }
    return seq;
}

TEST(LightingTablesTest, DecaySequencesOfTheModeGroups) {
    const auto g0 = DecaySequence(0);
    const std::vector<int> g0Head{215, 175, 135, 95, 65, 35, 20, 12, 11};
    ASSERT_GE(g0.size(), g0Head.size());
    EXPECT_EQ(std::vector<int>(g0.begin(), g0.begin() + 9), g0Head);
    EXPECT_EQ(g0.size(), 9u + 11u) << "from 11 it falls by one to 0";

    const auto g29 = DecaySequence(29);
    const std::vector<int> g29Head{210, 165, 120, 85, 60, 50, 40, 30, 25, 20, 15, 14};
    ASSERT_GE(g29.size(), g29Head.size());
    EXPECT_EQ(std::vector<int>(g29.begin(), g29.begin() + 12), g29Head);
    EXPECT_EQ(g29.back(), 0);

    // Any other group falls by 10 between 32 and 63 instead of 15.
    EXPECT_EQ(DecayStep(40, 8), 30);
    EXPECT_EQ(DecayStep(40, 0), 25);
    EXPECT_EQ(DecayStep(0, 8), 0);
}

TEST(LightingTablesTest, WheelSegmentsAndRepeatedTail) {
    EXPECT_EQ(Wheel(0), (Rgb{255, 1, 0}));
    EXPECT_EQ(Wheel(31), (Rgb{255, 255, 0}));
    EXPECT_EQ(Wheel(32), (Rgb{248, 255, 0}));
    EXPECT_EQ(Wheel(64), (Rgb{0, 255, 1}));
    EXPECT_EQ(Wheel(96), (Rgb{0, 248, 255}));
    EXPECT_EQ(Wheel(128), (Rgb{1, 0, 255}));
    EXPECT_EQ(Wheel(160), (Rgb{255, 0, 248}));
    EXPECT_EQ(Wheel(191), (Rgb{255, 0, 0}));
    for (int i = 192; i < 256; ++i) {
        EXPECT_EQ(Wheel(i), Wheel(i - 192)) << i;
    }
    EXPECT_EQ(Wheel(200), Wheel(8));
    // Out-of-range indexes wrap like a byte instead of reading outside the table.
    EXPECT_EQ(Wheel(256 + 8), Wheel(8));
    EXPECT_EQ(Wheel(-1), Wheel(255));
}

TEST(LightingTablesTest, CurvesAreSymmetricAndBounded) {
    EXPECT_EQ(Breathing(0), 0);
    EXPECT_EQ(Breathing(63), 255);
    EXPECT_EQ(Breathing(64), 255);
    EXPECT_EQ(Breathing(127), 0);
    EXPECT_EQ(Breathing(18), 27);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(Breathing(i), Breathing(127 - i)) << i;
    }
    EXPECT_EQ(Wave(0), 22);
    EXPECT_EQ(Wave(47), 255);
    EXPECT_EQ(Wave(95), 22);
    EXPECT_EQ(Wave(96), Wave(0));
    EXPECT_EQ(Twinkle(24), 255);
    EXPECT_EQ(Twinkle(88), 0);
    EXPECT_EQ(Twinkle(191), 0);
    EXPECT_EQ(Twinkle(192 + 24), 255);
}

TEST(LightingTablesTest, LevelTablesClampOutOfRangeLevels) {
    const int brightness[] = {0, 80, 135, 195, 255};
    for (int level = 0; level < 5; ++level) {
        EXPECT_EQ(Brightness(level), brightness[level]);
    }
    EXPECT_EQ(Brightness(-3), 0);
    EXPECT_EQ(Brightness(200), 255);

    const int blink[] = {8, 6, 4, 2, 1};
    for (int speed = 0; speed < 5; ++speed) {
        EXPECT_EQ(BlinkPeriod(speed), blink[speed]);
    }
    EXPECT_EQ(BlinkPeriodMs(4), 200u);
    EXPECT_EQ(BlinkPeriodMs(0), 1600u);
    EXPECT_EQ(BlinkPeriod(9), 1);

    struct PeriodCase {
        int mode;
        std::vector<int> periods;
    };
    const PeriodCase periods[] = {
        {1, {8, 5, 3, 1, 0}},  {2, {12, 8, 5, 0, 0}}, {17, {3, 3, 3, 3, 0}},
        {19, {3, 3, 3, 3, 0}}, {26, {8, 5, 3, 1, 0}}, {250, {8, 5, 3, 1, 0}},
    };
    for (const auto& p : periods) {
        for (int speed = 0; speed < 5; ++speed) {
            EXPECT_EQ(StepPeriod(p.mode, speed), p.periods[static_cast<size_t>(speed)]) << "mode " << p.mode;
        }
    }
    EXPECT_EQ(StepPeriod(1, 77), 0);
    EXPECT_EQ(FixedColour(0), (Rgb{0, 255, 180}));
    EXPECT_EQ(FixedColour(3), (Rgb{255, 0, 0}));
    EXPECT_EQ(FixedColour(7), FixedColour(3));
}

TEST(LightingTablesTest, KeyMatrixCellsAndOutside) {
    EXPECT_EQ(MatrixKey(0, 0), kNoKey);
    EXPECT_EQ(MatrixKey(2, 3), 64);
    EXPECT_EQ(MatrixKey(3, 3), 65);
    EXPECT_EQ(MatrixKey(22, 5), 131);
    EXPECT_EQ(MatrixKey(23, 0), kNoKey);
    EXPECT_EQ(MatrixKey(-1, 2), kNoKey);
    EXPECT_EQ(MatrixKey(4, 6), kNoKey);
}

TEST(LightingTablesTest, LightEntriesPackRedGreenBlueIntensityFromTheLowByte) {
    const std::uint32_t entry = PackLightEntry(0x11, 0x22, 0x33, 0x44);
    EXPECT_EQ(entry, 0x44332211u);
    EXPECT_EQ(EntryColour(entry), (Rgb{0x11, 0x22, 0x33}));
    EXPECT_EQ(EntryIntensity(entry), 0x44);
}

TEST(LightLevelsTest, MaskRotationMarkingDecayAndClear) {
    CLightLevels levels;
    levels.SetMaskByte(0, 1);
    levels.SetMaskByte(22, 2);
    levels.RotateMask(1);  // right: byte i takes byte i - 1, byte 0 the last
    EXPECT_EQ(levels.MaskByte(0), 2);
    EXPECT_EQ(levels.MaskByte(1), 1);
    EXPECT_EQ(levels.MaskByte(22), 0);
    levels.RotateMask(0);  // left again
    EXPECT_EQ(levels.MaskByte(0), 1);
    EXPECT_EQ(levels.MaskByte(22), 2);

    levels.SetMaskByte(8, 4);
    levels.SetMaskByte(9, 4);  // beyond the nine marked bytes
    levels.MarkRowKeys();
    EXPECT_EQ(levels.Level(0), 255);
    EXPECT_EQ(levels.Level(1), 0);
    EXPECT_EQ(levels.Level(8), 255);
    EXPECT_EQ(levels.Level(9), 0);

    levels.DecayLevel(0, 0);
    EXPECT_EQ(levels.Level(0), 215);
    levels.DecayLevel(170, 0);  // outside: nothing
    levels.DecayLevel(-1, 0);
    levels.ClearLevels();
    for (int i = 0; i < CLightLevels::kLevelCount; ++i) {
        ASSERT_EQ(levels.Level(i), 0) << i;
    }
    for (int i = 0; i < CLightLevels::kMaskLength; ++i) {
        ASSERT_EQ(levels.MaskByte(i), 0) << i;
    }
}

}  // namespace
}  // namespace zevik::test

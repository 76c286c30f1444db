#include "devices/mouse_settings_block.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace zevik {
namespace {

using Block = CMouseSettingsBlock;

// The mouse's mode list: position i carries code i, as "default_light.json" ships it.
const std::vector<int> kModes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// A mirror whose every byte differs from what a write would put there, so untouched bytes show.
Block PatternMirror() {
    Block::Bytes bytes;
    std::iota(bytes.begin(), bytes.end(), uint8_t{0x80});
    return Block(bytes);
}

struct WriteCase {
    const char* name;
    std::function<void(MouseBlockSettings&)> change;
    std::vector<std::pair<size_t, int>> expected;  // offset -> byte; -1 = as in the mirror
};

class MouseBlockWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(MouseBlockWrite, PutsTheValueAtItsOffset) {
    const WriteCase& c = GetParam();
    MouseBlockSettings settings;
    c.change(settings);
    const Block mirror = PatternMirror();
    Block block = mirror;
    block.Fill(settings, kModes, 0);
    for (const auto& [offset, value] : c.expected) {
        const int want = value < 0 ? mirror[offset] : value;
        EXPECT_EQ(block[offset], want) << c.name << " byte " << offset;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MouseBlockWrite,
    ::testing::Values(
        WriteCase{"report rate 2", [](auto& s) { s.system.SetReportRate(2); }, {{11, 2}}},
        WriteCase{"report rate 7 goes out as stored", [](auto& s) { s.system.SetReportRate(7); }, {{11, 7}}},
        WriteCase{"lift-off", [](auto& s) { s.system.SetSilentAltitudeItem(1); }, {{13, 1}}},
        WriteCase{"linear calibration", [](auto& s) { s.system.SetLinearCalibration(1); }, {{10, 1}}},
        WriteCase{"motion sync", [](auto& s) { s.system.SetMotionSync(1); }, {{74, 1}}},
        WriteCase{"deep sleep", [](auto& s) { s.system.SetDeepSleepOff(1); }, {{93, 1}}},
        WriteCase{"sleep time",
                  [](auto& s) {
                      s.system.SetSleepTime(10);
                      s.system.SetSleepTimeH(2);
                  },
                  {{68, 10}, {69, 2}}},
        WriteCase{"active stage", [](auto& s) { s.activeStage = 3; }, {{12, 3}}},
        WriteCase{"dormancy 0 leaves the bytes",
                  [](auto& s) { s.system.SetDormancyTime(0); },
                  {{70, -1}, {71, -1}}},
        WriteCase{"dormancy 1", [](auto& s) { s.system.SetDormancyTime(1); }, {{70, 180}, {71, 0}}},
        WriteCase{"dormancy 2", [](auto& s) { s.system.SetDormancyTime(2); }, {{70, 240}, {71, 0}}},
        WriteCase{"dormancy 3", [](auto& s) { s.system.SetDormancyTime(3); }, {{70, 44}, {71, 1}}},
        WriteCase{"dormancy 4", [](auto& s) { s.system.SetDormancyTime(4); }, {{70, 88}, {71, 2}}},
        WriteCase{"dormancy 5", [](auto& s) { s.system.SetDormancyTime(5); }, {{70, 132}, {71, 3}}},
        WriteCase{"dormancy 6", [](auto& s) { s.system.SetDormancyTime(6); }, {{70, 176}, {71, 4}}},
        WriteCase{"dormancy 9 unknown", [](auto& s) { s.system.SetDormancyTime(9); }, {{70, -1}, {71, -1}}},
        WriteCase{"key delay 0", [](auto& s) { s.system.SetKeyDelay(0); }, {{72, 1}}},
        WriteCase{"key delay 2", [](auto& s) { s.system.SetKeyDelay(2); }, {{72, 5}}},
        WriteCase{"key delay 4", [](auto& s) { s.system.SetKeyDelay(4); }, {{72, 9}}},
        WriteCase{"key delay 5 unknown", [](auto& s) { s.system.SetKeyDelay(5); }, {{72, -1}}},
        WriteCase{"lighting",
                  [](auto& s) {
                      s.light.selectItem = 3;
                      s.light.light = 2;
                      s.light.speed = 1;
                      s.light.fx = 1;
                      s.light.multiColor = 1;
                      s.light.red = 10;
                      s.light.green = 20;
                      s.light.blue = 30;
                  },
                  {{1, 3}, {2, 2}, {3, 3}, {4, 1}, {5, 1}, {6, 10}, {7, 20}, {8, 30}, {9, 0}}},
        WriteCase{"mode item 12 counts as 0", [](auto& s) { s.light.selectItem = 12; }, {{1, 0}}},
        WriteCase{"speed 9 has no code", [](auto& s) { s.light.speed = 9; }, {{3, -1}}},
        WriteCase{"carried bytes stay", [](auto&) {}, {{73, -1}, {75, -1}, {84, -1}, {92, -1}}}),
    [](const auto& testInfo) {
        std::string n = testInfo.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(MouseSettingsBlock, SlotValueGoesToByteZero) {
    Block block = PatternMirror();
    block.Fill(MouseBlockSettings{}, kModes, 5);
    EXPECT_EQ(block[0], 5);
}

TEST(MouseSettingsBlock, FourStagesLeaveTheLastTwoAsRead) {
    MouseBlockSettings settings;
    for (int i = 0; i < 4; ++i) {
        DpiStageRecord r;
        r.enabled = 1;
        r.SetDpiX(static_cast<uint16_t>(400 * (i + 1)));
        r.SetDpiY(1600);
        r.red = static_cast<uint8_t>(i);
        settings.stages.push_back(r);
    }
    const Block mirror = PatternMirror();
    Block block = mirror;
    block.Fill(settings, kModes, 0);
    for (size_t s = 0; s < 4; ++s) {
        const size_t at = Block::kStages + 9 * s;
        const uint16_t x = static_cast<uint16_t>(400 * (s + 1));
        EXPECT_EQ(block[at], 1);
        EXPECT_EQ(block[at + 2], x & 0xFF);
        EXPECT_EQ(block[at + 3], x >> 8);
        EXPECT_EQ(block[at + 4], 0x40);  // 1600 low byte first
        EXPECT_EQ(block[at + 5], 0x06);
        EXPECT_EQ(block[at + 6], s);
    }
    for (size_t at = Block::kStages + 36; at < Block::kSleepLow; ++at) EXPECT_EQ(block[at], mirror[at]) << at;
}

TEST(MouseSettingsBlock, ShortOrMissingModeListLeavesTheModeByte) {
    const Block mirror = PatternMirror();
    Block block = mirror;
    MouseBlockSettings settings;
    settings.light.selectItem = 5;
    block.Fill(settings, std::vector<int>{0, 1, 2}, 0);
    EXPECT_EQ(block[1], mirror[1]);
    block.Fill(settings, {}, 0);
    EXPECT_EQ(block[1], mirror[1]);
    block.Fill(settings, std::vector<int>{0, 1, 2, 3, 4, 300}, 0);  // a code that does not fit a byte
    EXPECT_EQ(block[1], mirror[1]);
}

TEST(MouseSettingsBlock, AssignNeedsExactlyTheBlockSize) {
    Block block;
    std::vector<uint8_t> shortData(93, 1);
    EXPECT_FALSE(block.Assign(shortData));
    EXPECT_EQ(block[0], 0);
    std::vector<uint8_t> data(94, 7);
    EXPECT_TRUE(block.Assign(data));
    EXPECT_EQ(block[93], 7);
}

TEST(MouseSettingsBlock, SlotAddressesAreBounded) {
    EXPECT_EQ(Block::SlotAddress(0), 0);
    EXPECT_EQ(Block::SlotAddress(3), 384);
    EXPECT_EQ(Block::SlotAddress(15), 1920);
    EXPECT_EQ(Block::SlotAddress(16), 0);
    EXPECT_EQ(Block::SlotAddress(-1), 1920);
}

// ---- reading ----

MouseBlockSettings ReadWith(const std::function<void(Block&)>& set, MouseBlockSettings before = {},
                            const std::vector<int>& modes = kModes) {
    Block block;
    block.Set(Block::kKeyDelay, 1);
    set(block);
    block.Read(before, modes);
    return before;
}

TEST(MouseSettingsBlockRead, KeyDelayCodes) {
    const std::vector<std::pair<int, int>> cases = {{1, 0}, {3, 1}, {5, 2}, {7, 3},
                                                    {9, 4}, {4, 0}, {0, 0}, {255, 0}};
    for (const auto& [code, want] : cases) {
        MouseBlockSettings before;
        before.system.SetKeyDelay(3);
        const auto s =
            ReadWith([&](Block& b) { b.Set(Block::kKeyDelay, static_cast<uint8_t>(code)); }, before);
        EXPECT_EQ(s.system.KeyDelay(), want) << "code " << code;
    }
}

TEST(MouseSettingsBlockRead, DormancyLooksAtByte70Only) {
    const std::vector<std::pair<int, int>> cases = {{0, 0},  {180, 1}, {240, 2}, {44, 3},
                                                    {88, 4}, {132, 5}, {176, 6}, {99, 2 /* kept */}};
    for (const auto& [low, want] : cases) {
        MouseBlockSettings before;
        before.system.SetDormancyTime(2);
        const auto s = ReadWith(
            [&](Block& b) {
                b.Set(Block::kDormancyLow, static_cast<uint8_t>(low));
                b.Set(Block::kDormancyHigh, 0x77);
            },
            before);
        EXPECT_EQ(s.system.DormancyTime(), want) << "byte 70 = " << low;
    }
}

TEST(MouseSettingsBlockRead, TakesTheSystemValuesAndActiveStage) {
    MouseBlockSettings before;
    before.system.SetMouseSpeed(10);  // not in the block: stays
    before.system.SetAntiShake(2);
    const auto s = ReadWith(
        [](Block& b) {
            b.Set(Block::kReportRate, 7);
            b.Set(Block::kLiftOff, 1);
            b.Set(Block::kLinearCalibration, 1);
            b.Set(Block::kMotionSync, 1);
            b.Set(Block::kDeepSleep, 1);
            b.Set(Block::kSleepLow, 12);
            b.Set(Block::kSleepHigh, 3);
            b.Set(Block::kActiveStage, 4);
        },
        before);
    EXPECT_EQ(s.system.ReportRate(), 7);
    EXPECT_EQ(s.system.SilentAltitudeItem(), 1);
    EXPECT_EQ(s.system.LinearCalibration(), 1);
    EXPECT_EQ(s.system.MotionSync(), 1);
    EXPECT_EQ(s.system.DeepSleepOff(), 1);
    EXPECT_EQ(s.system.SleepTime(), 12);
    EXPECT_EQ(s.system.SleepTimeH(), 3);
    EXPECT_EQ(s.activeStage, 4);
    EXPECT_EQ(s.system.MouseSpeed(), 10);
    EXPECT_EQ(s.system.AntiShake(), 2);
}

TEST(MouseSettingsBlockRead, LightingButDirection) {
    MouseBlockSettings before;
    before.light.fx = 1;
    before.light.selectItem = 9;
    before.light.speed = 2;
    const std::vector<int> modes = {0, 4, 2, 4};  // code 4 first at position 1
    const auto s = ReadWith(
        [](Block& b) {
            b.Set(Block::kLightMode, 4);
            b.Set(Block::kBrightness, 3);
            b.Set(Block::kSpeedInverted, 1);
            b.Set(Block::kDirection, 0);
            b.Set(Block::kMultiColour, 1);
            b.Set(Block::kRed, 1);
            b.Set(Block::kGreen, 2);
            b.Set(Block::kBlue, 3);
        },
        before, modes);
    EXPECT_EQ(s.light.selectItem, 1);
    EXPECT_EQ(s.light.light, 3);
    EXPECT_EQ(s.light.speed, 3);
    EXPECT_EQ(s.light.fx, 1);
    EXPECT_EQ(s.light.multiColor, 1);
    EXPECT_EQ(s.light.red, 1);
    EXPECT_EQ(s.light.green, 2);
    EXPECT_EQ(s.light.blue, 3);
}

TEST(MouseSettingsBlockRead, UnknownModeAndSpeedCodesKeepTheStoredValues) {
    MouseBlockSettings before;
    before.light.selectItem = 9;
    before.light.speed = 2;
    const auto s = ReadWith(
        [](Block& b) {
            b.Set(Block::kLightMode, 77);
            b.Set(Block::kSpeedInverted, 200);
        },
        before);
    EXPECT_EQ(s.light.selectItem, 9);
    EXPECT_EQ(s.light.speed, 2);
}

TEST(MouseSettingsBlock, ReadThenFillGivesTheSameBlock) {
    Block::Bytes bytes{};
    bytes[Block::kLightMode] = 7;
    bytes[Block::kBrightness] = 4;
    bytes[Block::kSpeedInverted] = 0;
    bytes[Block::kReportRate] = 3;
    bytes[Block::kDormancyLow] = 44;
    bytes[Block::kDormancyHigh] = 1;
    bytes[Block::kKeyDelay] = 7;
    bytes[Block::kStages] = 1;
    const Block read(bytes);
    MouseBlockSettings s;
    read.Read(s, kModes);
    Block again(bytes);
    again.Fill(s, kModes, 0);
    EXPECT_EQ(again.Data(), bytes);
}

}  // namespace
}  // namespace zevik

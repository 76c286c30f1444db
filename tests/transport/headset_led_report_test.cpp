// The headset's LED report: the twelve reports of a frame in the headset's order, each block's LEDs
// in its bytes, and levels limited to 247.

#include <gtest/gtest.h>

#include <vector>

#include "transport/headset_led_report.h"

namespace zevik {
namespace {

namespace L = headset_led;

std::vector<L::LedLevels> Ramp() {
    std::vector<L::LedLevels> leds(L::kLedCount);
    for (int i = 0; i < L::kLedCount; ++i) {
        leds[static_cast<size_t>(i)] = {static_cast<uint8_t>(i + 1), static_cast<uint8_t>(i + 21),
                                        static_cast<uint8_t>(i + 41)};
    }
    return leds;
}

TEST(HeadsetLedReportTest, AFrameIsTwelveReportsInTheHeadsetsOrder) {
    const auto frame = L::MakeFrame(Ramp());
    const std::vector<std::pair<uint8_t, uint8_t>> order = {
        {0x22, 0xAA}, {0x22, 0xAD}, {0x44, 0xAA}, {0x44, 0xAD}, {0x22, 0xAB}, {0x22, 0xAE},
        {0x44, 0xAB}, {0x44, 0xAE}, {0x22, 0xAC}, {0x22, 0xAF}, {0x44, 0xAC}, {0x44, 0xAF},
    };
    ASSERT_EQ(frame.size(), order.size());
    for (size_t i = 0; i < frame.size(); ++i) {
        EXPECT_EQ(frame[i][0], 0xFF) << i;
        EXPECT_EQ(frame[i][1], order[i].first) << i;
        EXPECT_EQ(frame[i][2], order[i].second) << i;
        EXPECT_EQ(frame[i][3], 0) << i;
    }
}

TEST(HeadsetLedReportTest, EachBlockCarriesItsChannelOfItsLedsInOrder) {
    const struct {
        uint8_t block;
        std::vector<uint8_t> levels;  // bytes 4-10
    } cases[] = {
        {L::kRedLow, {1, 2, 3, 4, 5, 6, 7}},
        {L::kRedHigh, {8, 9, 10, 11, 12, 13, 0}},
        {L::kGreenLow, {21, 22, 23, 24, 25, 26, 27}},
        {L::kGreenHigh, {28, 29, 30, 31, 32, 33, 0}},
        {L::kBlueLow, {41, 42, 43, 44, 45, 46, 47}},
        {L::kBlueHigh, {48, 49, 50, 51, 52, 53, 0}},
    };
    for (const auto& c : cases) {
        const L::Report report = L::MakeReport(L::kGroupB, c.block, Ramp());
        EXPECT_EQ(std::vector<uint8_t>(report.begin() + 4, report.begin() + 11), c.levels) << int{c.block};
        EXPECT_EQ(std::vector<uint8_t>(report.begin() + 11, report.end()), std::vector<uint8_t>(6, 0));
    }
}

TEST(HeadsetLedReportTest, LevelsAreLimitedTo247AndMissingLedsAreDark) {
    const std::vector<L::LedLevels> two = {{255, 248, 247}, {246, 0, 255}};
    EXPECT_EQ(L::MakeReport(L::kGroupA, L::kRedLow, two)[4], 247);
    EXPECT_EQ(L::MakeReport(L::kGroupA, L::kGreenLow, two)[4], 247);
    EXPECT_EQ(L::MakeReport(L::kGroupA, L::kBlueLow, two)[4], 247);
    EXPECT_EQ(L::MakeReport(L::kGroupA, L::kRedLow, two)[5], 246);
    EXPECT_EQ(L::MakeReport(L::kGroupA, L::kRedLow, two)[6], 0);
    EXPECT_EQ(L::MakeReport(L::kGroupA, L::kRedHigh, two)[4], 0);
}

}  // namespace
}  // namespace zevik

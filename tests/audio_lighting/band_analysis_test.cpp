#include "audio_lighting/band_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace zevik {
namespace {

using Analysis = CBandAnalysis;

std::vector<float> Sine(double hz, double amplitude, std::size_t count, double phase = 0.0) {
    std::vector<float> s(count);
    for (std::size_t n = 0; n < count; ++n) {
        s[n] = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * hz * n / Analysis::kSampleRate + phase));
    }
    return s;
}

int BandOf(const Analysis& analysis, double hz) {
    const double bin = hz / (static_cast<double>(Analysis::kSampleRate) / Analysis::kWindow);
    for (int b = 0; b < Analysis::kBandCount; ++b) {
        const auto [first, last] = analysis.BandBins(b);
        if (bin >= first - 0.5 && bin < last - 0.5) return b;
    }
    return -1;
}

TEST(BandAnalysisTest, BandsCoverFortyHertzToSixteenKilohertzWithoutGapsOrEmptyBands) {
    Analysis analysis;
    EXPECT_NEAR(analysis.BandBins(0).first * 48000.0 / 2048, 40.0, 12.0);
    EXPECT_NEAR(analysis.BandBins(24).second * 48000.0 / 2048, 16000.0, 12.0);
    for (int b = 0; b < Analysis::kBandCount; ++b) {
        SCOPED_TRACE(b);
        EXPECT_GE(analysis.BandBins(b).second, analysis.BandBins(b).first + 1);
        if (b > 0) {
            EXPECT_EQ(analysis.BandBins(b).first, analysis.BandBins(b - 1).second);
        }
    }
    // Log spacing: the top band is far wider than the bottom ones.
    EXPECT_GT(analysis.BandBins(24).second - analysis.BandBins(24).first, 100u);
}

TEST(BandAnalysisTest, SilenceGivesZerosEverywhere) {
    Analysis analysis;
    EXPECT_EQ(analysis.Analyse(), Analysis::Record{});  // before any sound
    analysis.Push(std::vector<float>(Analysis::kWindow, 0.0f));
    EXPECT_EQ(analysis.Analyse(), Analysis::Record{});
}

// A sine at a band's centre lights that band by its level: full scale 2000, -30 dB about 1000,
// -60 dB and below 0. Its slots hold the value five times; values from 125 on stay 0.
TEST(BandAnalysisTest, SineAtABandsCentreGivesItsLevelInThatBandsSlots) {
    struct Case {
        int band;
        double db;
        int expected;
        int tolerance;
    };
    const Case cases[] = {{0, 0, 2000, 0},   {7, 0, 2000, 0},   {12, 0, 2000, 0},  {24, 0, 2000, 0},
                          {3, -30, 1000, 5}, {12, -30, 1000, 5}, {20, -30, 1000, 5}, {12, -15, 1500, 5},
                          {12, -70, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "band " << c.band << " at " << c.db << " dB");
        Analysis analysis;
        analysis.Push(Sine(analysis.CentreFrequency(c.band), std::pow(10.0, c.db / 20.0), Analysis::kWindow));
        const Analysis::Record record = analysis.Analyse();
        for (std::size_t k = 0; k < Analysis::kValuesPerBand; ++k) {
            EXPECT_NEAR(record[c.band * 5 + k], c.expected, c.tolerance);
        }
        for (std::size_t i = 125; i < Analysis::kValueCount; ++i) ASSERT_EQ(record[i], 0) << i;
        // Far from the tone, the bands stay dark.
        const int far = c.band < 12 ? 24 : 0;
        EXPECT_LT(record[far * 5], 300);
    }
}

TEST(BandAnalysisTest, LouderThanFullScaleIsClampedAndPhaseHardlyMatters) {
    Analysis analysis;
    analysis.Push(Sine(analysis.CentreFrequency(10), 4.0, Analysis::kWindow));
    EXPECT_EQ(analysis.Analyse()[50], 2000);
    analysis.Push(Sine(analysis.CentreFrequency(10), 1.0, Analysis::kWindow, 1.1));
    EXPECT_NEAR(analysis.Analyse()[50], 2000, 20);
}

// The lighting follows the change between records: a 1 kHz tone switched on and off each 20 ms
// record moves its band by about the full 2000 each time.
TEST(BandAnalysisTest, ToneSwitchedEachRecordMovesItsBandByAboutTheFullLevel) {
    Analysis analysis;
    const int band = BandOf(analysis, 1000.0);
    ASSERT_GE(band, 0);
    const std::vector<float> tone = Sine(1000.0, 1.0, Analysis::kWindow);
    const std::vector<float> quiet(Analysis::kWindow, 0.0f);
    std::int32_t previous = analysis.Analyse()[band * 5];
    for (int record = 0; record < 6; ++record) {
        analysis.Push(record % 2 == 0 ? tone : quiet);
        const std::int32_t now = analysis.Analyse()[band * 5];
        EXPECT_GT(std::abs(now - previous), 1900) << "record " << record;
        previous = now;
    }
}

TEST(BandAnalysisTest, OnlyTheNewestWindowCounts) {
    Analysis analysis;
    analysis.Push(Sine(analysis.CentreFrequency(5), 1.0, 10 * Analysis::kWindow));
    analysis.Push(std::vector<float>(Analysis::kWindow, 0.0f));
    EXPECT_EQ(analysis.Analyse(), Analysis::Record{});
    // 20 ms of a tone after silence shows, less than full.
    analysis.Push(Sine(analysis.CentreFrequency(5), 1.0, Analysis::kHop));
    const std::int32_t partial = analysis.Analyse()[25];
    EXPECT_GT(partial, 1500);
    EXPECT_LT(partial, 2000);
}

// Whatever a broken stream delivers, every value stays within 0..2000.
TEST(BandAnalysisTest, BrokenSamplesNeverLeaveTheRange) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::vector<float>> blocks = {
        std::vector<float>(Analysis::kWindow, nan), std::vector<float>(Analysis::kWindow, inf),
        std::vector<float>(Analysis::kWindow, std::numeric_limits<float>::max()),
        Sine(1000.0, 1e30, Analysis::kWindow)};
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        Analysis analysis;
        analysis.Push(blocks[i]);
        for (const std::int32_t v : analysis.Analyse()) {
            ASSERT_GE(v, 0) << "block " << i;
            ASSERT_LE(v, 2000) << "block " << i;
        }
    }
}

TEST(BandAnalysisTest, RecordTravelsAsLittleEndianValues) {
    Analysis::Record record{};
    record[0] = 2000;
    record[124] = -2;
    const Analysis::RecordBytes bytes = Analysis::BytesOf(record);
    EXPECT_EQ(bytes[0], 0xD0);
    EXPECT_EQ(bytes[1], 0x07);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[496], 0xFE);
    EXPECT_EQ(bytes[499], 0xFF);
    record[5] = 7;
    EXPECT_EQ(Analysis::BandsOf(record)[0], 2000);
    EXPECT_EQ(Analysis::BandsOf(record)[1], 7);
}

}  // namespace
}  // namespace zevik

#include "audio/mapped_volume.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "audio/fake_mixer_card.h"
#include "audio/mixer_area_card.h"

namespace zevik {
namespace {

using mapped_volume::kMuteDb;

struct DbCase {
    MixerRange range;
    long db;
    double position;
};

TEST(MappedVolume, PositionOfDbFollowsTheCubicCurveBeyond24Db) {
    const DbCase cases[] = {
        {{-2000, 0}, -1000, 0.5},  // 20 dB: linear
        {{-2400, 0}, -600, 0.75},  // 24 dB still linear
        {{-5000, 0}, 0, 1.0},
        {{-5000, 0}, -5000, 0.0},
        {{-5000, 0},
         -600,
         (std::pow(10.0, -0.1) - std::pow(10.0, -5.0 / 6.0)) / (1.0 - std::pow(10.0, -5.0 / 6.0))},
        {{kMuteDb, 0}, -2000, std::pow(10.0, -1.0 / 3.0)},  // muted bottom: no offset
        {{kMuteDb, 0}, kMuteDb, 0.0},
        {{-5000, 0}, 300, 1.0},  // beyond the range: clamped
        {{0, 0}, 0, 0.0},        // empty range
    };
    for (const DbCase& c : cases) {
        EXPECT_NEAR(mapped_volume::PositionOfDb(c.range, c.db), c.position, 1e-9)
            << "range " << c.range.min << ".." << c.range.max << " at " << c.db;
    }
}

struct AreaBytes : IMixerArea {
    std::array<std::uint8_t, 6> bytes{};
    std::optional<std::array<std::uint8_t, 6>> ReadMixerArea() const override { return bytes; }
    bool WriteMixerArea(std::size_t offset, std::uint8_t value) override {
        bytes.at(offset) = value;
        return true;
    }
};

// The step chosen for a position is the one whose position lies nearest, checked against every step.
TEST(MappedVolume, NearestStepIsTheClosestOfAllSteps) {
    AreaBytes area;
    CMixerAreaCard emulated(area);
    test::FakeMixerCard muted;
    muted.Add("Master", MixerDirection::Playback, {0, 64, -6400, 100, true, {0}, std::nullopt});
    struct Target {
        const IMixerCard* card;
        MixerControlId id;
    };
    const Target targets[] = {
        {&emulated, {"PCM", MixerDirection::Playback}},
        {&emulated, {"Mic", MixerDirection::Capture}},
        {&emulated, {"Mic", MixerDirection::Playback}},
        {&muted, {"Master", MixerDirection::Playback}},
    };
    for (const Target& t : targets) {
        const MixerRange raw = *t.card->RawRange(t.id);
        for (int percent = 0; percent <= 100; ++percent) {
            const double wanted = percent / 100.0;
            const long step = *mapped_volume::NearestStep(*t.card, t.id, wanted);
            const double got = std::abs(*mapped_volume::PositionOfStep(*t.card, t.id, step) - wanted);
            for (long other = raw.min; other <= raw.max; ++other) {
                ASSERT_LE(got,
                          std::abs(*mapped_volume::PositionOfStep(*t.card, t.id, other) - wanted) + 1e-12)
                    << t.id.name << " at " << percent << "%: step " << step << " chosen, " << other
                    << " nearer";
            }
        }
    }
}

TEST(MappedVolume, OutOfRangeAndNonNumberPositionsStayInsideTheRange) {
    test::FakeMixerCard card = test::LinearHeadsetCard();
    const MixerControlId mic{"Mic", MixerDirection::Capture};
    EXPECT_EQ(mapped_volume::NearestStep(card, mic, 1.5), 100);
    EXPECT_EQ(mapped_volume::NearestStep(card, mic, -3.0), 0);
    EXPECT_EQ(mapped_volume::NearestStep(card, mic, std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(mapped_volume::NearestStep(card, {"Nothing", MixerDirection::Capture}, 0.5), std::nullopt);
}

TEST(MappedVolume, NearestStepOfDbNeedsADbScale) {
    AreaBytes area;
    CMixerAreaCard card(area);
    EXPECT_EQ(mapped_volume::NearestStepOfDb(card, {"Mic", MixerDirection::Capture}, 0),
              32);  // -12 + 32 x 0.375
    EXPECT_EQ(mapped_volume::NearestStepOfDb(card, {"Mic", MixerDirection::Playback}, -1040), 22);
    EXPECT_EQ(mapped_volume::NearestStepOfDb(card, {"PCM", MixerDirection::Playback}, 900),
              100);  // above: the top
    test::FakeMixerCard noDb;
    noDb.Add("Mic", MixerDirection::Capture, {0, 100, std::nullopt, 0, false, {0}, std::nullopt});
    EXPECT_EQ(mapped_volume::NearestStepOfDb(noDb, {"Mic", MixerDirection::Capture}, 0), std::nullopt);
    EXPECT_EQ(mapped_volume::NearestStep(noDb, {"Mic", MixerDirection::Capture}, 0.37), 37);
}

}  // namespace
}  // namespace zevik

#include "audio/mixer_area_card.h"

#include <gtest/gtest.h>

namespace zevik {
namespace {

struct AreaBytes : IMixerArea {
    std::array<std::uint8_t, 6> bytes{};
    bool readable = true;
    std::optional<std::array<std::uint8_t, 6>> ReadMixerArea() const override {
        if (!readable) return std::nullopt;
        return bytes;
    }
    bool WriteMixerArea(std::size_t offset, std::uint8_t value) override {
        if (offset >= bytes.size()) return false;
        bytes[offset] = value;
        return true;
    }
};

struct ControlCase {
    MixerControlId id;
    std::size_t volumeByte;
    std::size_t switchByte;
    MixerRange raw;
    MixerRange db;
    long dbOfStep3;
};

TEST(MixerAreaCard, ControlsSitInTheirBytesWithTheirScales) {
    const ControlCase cases[] = {
        {{"PCM", MixerDirection::Playback}, 0, 1, {0, 100}, {-5000, 0}, -4850},
        {{"Mic", MixerDirection::Capture}, 2, 3, {0, 127}, {-1200, 3563}, -1088},  // 0.375 dB a step
        {{"Mic", MixerDirection::Playback}, 4, 5, {0, 32}, {-3200, 0}, -2900},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(c.id.name + (c.id.direction == MixerDirection::Capture ? " capture" : " playback"));
        AreaBytes area;
        CMixerAreaCard card(area);
        EXPECT_EQ(card.RawRange(c.id), c.raw);
        EXPECT_EQ(card.DbRange(c.id), c.db);
        EXPECT_EQ(card.DbOfRaw(c.id, 3), c.dbOfStep3);

        ASSERT_TRUE(card.SetRaw(c.id, 7));
        EXPECT_EQ(area.bytes[c.volumeByte], 7);
        EXPECT_EQ(card.Raw(c.id, 0), 7);
        EXPECT_EQ(card.Raw(c.id, 1), std::nullopt);  // mono

        ASSERT_TRUE(card.SetSwitch(c.id, true));
        EXPECT_EQ(area.bytes[c.switchByte], 1);
        EXPECT_EQ(card.Switch(c.id, 0), true);
        ASSERT_TRUE(card.SetSwitch(c.id, false));
        EXPECT_EQ(area.bytes[c.switchByte], 0);

        // Out of range both ways: written clamped, stored garbage read as the top.
        ASSERT_TRUE(card.SetRaw(c.id, 999));
        EXPECT_EQ(area.bytes[c.volumeByte], c.raw.max);
        ASSERT_TRUE(card.SetRaw(c.id, -4));
        EXPECT_EQ(area.bytes[c.volumeByte], 0);
        area.bytes[c.volumeByte] = 255;
        EXPECT_EQ(card.Raw(c.id, 0), c.raw.max);
    }
}

TEST(MixerAreaCard, UnknownControlsAndAnUnreadableAreaFail) {
    AreaBytes area;
    CMixerAreaCard card(area);
    const MixerControlId unknown{"PCM", MixerDirection::Capture};
    EXPECT_EQ(card.RawRange(unknown), std::nullopt);
    EXPECT_FALSE(card.SetRaw(unknown, 1));
    EXPECT_FALSE(card.SetSwitch(unknown, true));
    EXPECT_EQ(card.Controls().size(), 3u);

    area.readable = false;
    EXPECT_EQ(card.Raw({"PCM", MixerDirection::Playback}, 0), std::nullopt);
    EXPECT_EQ(card.Switch({"PCM", MixerDirection::Playback}, 0), std::nullopt);
}

}  // namespace
}  // namespace zevik

// The main window's band levels: how sample records become the 25 levels the keyboard draws, how
// often they reach it, and that values from outside never wrap.

#include "audio_lighting/audio_band_levels.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "devices/orbantix_usb_device.h"

namespace zevik::test {
namespace {

using BandLevels = std::array<std::int32_t, CAudioBandLevels::kBands>;

// The first keyboard as the band levels see it: what it was handed.
class CAudioSink final : public COrbantixUSBDevice {
public:
    CAudioSink() : COrbantixUSBDevice(DeviceContext{}) {}
    void AudioLevels(std::span<const std::int32_t> levels) override {
        BandLevels copy{};
        std::copy_n(levels.begin(), std::min(levels.size(), copy.size()), copy.begin());
        batches.push_back(copy);
    }
    void AudioBands(std::span<const std::int32_t> values) override {
        colours.emplace_back(values.begin(), values.end());
    }
    std::vector<BandLevels> batches;
    std::vector<std::vector<std::int32_t>> colours;
};

// A sample record of 500 values: value i is at(i).
template <class At>
std::vector<std::uint8_t> Record(At at, std::size_t values = CAudioBandLevels::kSamples) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < values; ++i) {
        const auto v = static_cast<std::uint32_t>(at(i));
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
    }
    return bytes;
}

std::vector<std::uint8_t> Flat(std::int32_t v) {
    return Record([v](std::size_t) { return v; });
}

struct LevelCase {
    const char* name;
    int rows;  // connected keyboard rows
    std::vector<std::vector<std::uint8_t>> records;
    std::int32_t band0;                     // level of band 0 after the records
    std::vector<std::int32_t> handedBand0;  // band 0 of each batch the keyboard got
};

TEST(AudioBandLevels, RecordsBecomeLevelsThatReachTheKeyboardEveryThirdRecord) {
    // Values 0-3 of a group are its band; the fifth and everything from 125 on are not.
    const auto band0Only = Record([](std::size_t i) { return i < 4 ? 400 : 0; });
    const auto unusedSlots = Record([](std::size_t i) { return i % 5 == 4 || i >= 125 ? 100000 : 0; });
    const LevelCase cases[] = {
        // One row: (0 + 4 x 400) / 4 = 400; then identical records: no change, the level falls by a
        // quarter each record: 100, 25, 6, 1, 0.
        {"identical records fall by a quarter",
         1,
         {band0Only, band0Only, band0Only, band0Only, band0Only, band0Only},
         0,
         {25, 0}},
        // Records that change each time: 400, (400 + 1600) / 4 = 500, (500 + 1600) / 4 = 525.
        {"one row", 1, {band0Only, Flat(0), band0Only}, 525, {525}},
        // The cable has two rows, so each record updates the level twice: 400, 500; 525, 531; the
        // third record hands over after its first update (532), then updates again (533).
        {"the cable's double update", 2, {band0Only, Flat(0), band0Only}, 533, {532}},
        // Silence changes nothing and the keyboard still gets every third record.
        {"silence", 1, {Flat(0), Flat(0), Flat(0), Flat(0), Flat(0), Flat(0)}, 0, {0, 0}},
        // No connected keyboard row: no levels, nothing handed over.
        {"no keyboard", 0, {band0Only, band0Only, band0Only}, 0, {}},
        {"unused slots", 1, {unusedSlots, Flat(0), unusedSlots}, 0, {0}},
    };
    for (const LevelCase& c : cases) {
        SCOPED_TRACE(c.name);
        CAudioBandLevels levels;
        CAudioSink keyboard;
        for (const auto& record : c.records) levels.ProcessSamples(record, c.rows, &keyboard);
        EXPECT_EQ(levels.Levels()[0], c.band0);
        std::vector<std::int32_t> handed;
        for (const BandLevels& batch : keyboard.batches) handed.push_back(batch[0]);
        EXPECT_EQ(handed, c.handedBand0);
    }
}

TEST(AudioBandLevels, TheLoudestChangeSaturatesInsteadOfWrapping) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    CAudioBandLevels levels;
    CAudioSink keyboard;
    levels.ProcessSamples(Flat(kMin), 1, &keyboard);  // |MIN - 0| does not fit: the largest value
    EXPECT_EQ(levels.Levels()[24], kMax);
    levels.ProcessSamples(Flat(kMax), 2, &keyboard);  // |MAX - MIN| is the loudest change, not 1
    for (std::int32_t level : levels.Levels()) EXPECT_EQ(level, kMax);
    levels.ProcessSamples(Flat(kMax), 1, &keyboard);  // then silence
    ASSERT_EQ(keyboard.batches.size(), 1u);
    EXPECT_EQ(keyboard.batches[0][0], kMax / 4);
}

TEST(AudioBandLevels, AShortRecordCountsItsMissingValuesAsZeros) {
    CAudioBandLevels levels;
    CAudioSink keyboard;
    levels.ProcessSamples(Record([](std::size_t) { return 800; }, 4), 1, &keyboard);
    EXPECT_EQ(levels.Levels()[0], 800);
    EXPECT_EQ(levels.Levels()[1], 0);
}

TEST(AudioBandLevels, TheColourRecordReachesTheKeyboardAsSixValues) {
    CAudioSink keyboard;
    const std::vector<std::uint8_t> bytes = {0, 1, 0, 0, 255, 1, 0, 0, 7, 0, 0, 0};  // 256, 511, 7
    ProcessAudioColour(bytes, &keyboard);
    ProcessAudioColour(bytes, nullptr);  // no keyboard: nothing to do
    ASSERT_EQ(keyboard.colours.size(), 1u);
    EXPECT_EQ(keyboard.colours[0], (std::vector<std::int32_t>{256, 511, 7, 0, 0, 0}));
}

}  // namespace
}  // namespace zevik::test

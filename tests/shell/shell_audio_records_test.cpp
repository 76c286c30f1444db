#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shell/audio_record_buffers.h"

namespace zevik::test {
namespace {

std::vector<std::uint8_t> Filled(std::size_t size, std::uint8_t value) {
    return std::vector<std::uint8_t>(size, value);
}

struct RecordCase {
    const char* name;
    std::uint32_t kind;
    std::size_t size;
    std::size_t taken;        // bytes Accept reports
    std::size_t sampleBytes;  // how many leading sample bytes now hold 0xAB
    std::size_t bandBytes;    // how many leading band bytes now hold 0xAB
};

TEST(AudioRecordBuffers, RecordsLandInTheirBufferAndNeverPastIt) {
    const RecordCase cases[] = {
        {"empty sample record", 1, 0, 0, 0, 0},
        {"empty band record", 2, 0, 0, 0, 0},
        {"other kind", 5, 100, 0, 0, 0},
        {"short samples", 1, 12, 12, 12, 0},
        {"full samples", 1, 2000, 2000, 2000, 0},
        {"oversized samples", 1, 65536, 2000, 2000, 0},
        {"bands", 2, 24, 24, 0, 24},
        {"oversized bands", 2, 4096, 24, 0, 24},
    };
    for (const RecordCase& c : cases) {
        CAudioRecordBuffers buffers;
        const std::vector<std::uint8_t> data = Filled(c.size, 0xAB);
        EXPECT_EQ(buffers.Accept(c.kind, data), c.taken) << c.name;
        const auto samples = buffers.SampleBytes();
        const auto bands = buffers.BandBytes();
        ASSERT_EQ(samples.size(), CAudioRecordBuffers::kSampleBytes);
        ASSERT_EQ(bands.size(), CAudioRecordBuffers::kBandBytes);
        for (std::size_t i = 0; i < samples.size(); ++i)
            ASSERT_EQ(samples[i], i < c.sampleBytes ? 0xAB : 0) << c.name << " sample byte " << i;
        for (std::size_t i = 0; i < bands.size(); ++i)
            ASSERT_EQ(bands[i], i < c.bandBytes ? 0xAB : 0) << c.name << " band byte " << i;
    }
}

TEST(AudioRecordBuffers, AShorterRecordReplacesOnlyTheStartAndValuesAreLittleEndian) {
    CAudioRecordBuffers buffers;
    buffers.Accept(1, Filled(2000, 0x11));
    const std::vector<std::uint8_t> first = {0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x00};
    EXPECT_EQ(buffers.Accept(1, first), 8u);
    EXPECT_EQ(buffers.Sample(0), -2);
    EXPECT_EQ(buffers.Sample(1), 0x1234);
    EXPECT_EQ(buffers.Sample(2), 0x11111111);
    EXPECT_EQ(buffers.Sample(499), 0x11111111);
    EXPECT_EQ(buffers.Sample(500), 0);  // past the buffer: nothing read
    const std::vector<std::uint8_t> bands = {255, 0, 0, 0, 128, 0, 0, 0, 7, 0, 0, 0};
    buffers.Accept(2, bands);
    EXPECT_EQ(buffers.Band(0), 255);
    EXPECT_EQ(buffers.Band(1), 128);
    EXPECT_EQ(buffers.Band(2), 7);
    EXPECT_EQ(buffers.Band(6), 0);
}

}  // namespace
}  // namespace zevik::test

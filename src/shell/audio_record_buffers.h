#pragma once
// CAudioRecordBuffers: where the records of the audio capture program land. Kind 1 carries up to 500
// signed 32-bit samples, kind 2 up to six signed 32-bit band values (red, green, blue first). A record
// is copied to the start of its kind's buffer; a shorter one replaces only the start (the rest keeps
// earlier values), a longer one is cut to the buffer, and empty records and other kinds change
// nothing. Records come from another program, so their length is never trusted.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zevik {

class CAudioRecordBuffers {
public:
    static constexpr std::uint32_t kSampleRecord = 1;
    static constexpr std::uint32_t kBandRecord = 2;
    static constexpr std::size_t kSampleBytes = 2000;
    static constexpr std::size_t kBandBytes = 24;

    // The number of bytes taken into a buffer; 0 when the record was ignored.
    std::size_t Accept(std::uint32_t kind, std::span<const std::uint8_t> data);

    // Value i of the buffers, little-endian as the capture program writes them.
    std::int32_t Sample(std::size_t i) const { return ValueAt(samples_, i); }
    std::int32_t Band(std::size_t i) const { return ValueAt(bands_, i); }
    std::span<const std::uint8_t> SampleBytes() const { return samples_; }
    std::span<const std::uint8_t> BandBytes() const { return bands_; }

private:
    static std::int32_t ValueAt(std::span<const std::uint8_t> buffer, std::size_t i);

    std::array<std::uint8_t, kSampleBytes> samples_{};
    std::array<std::uint8_t, kBandBytes> bands_{};
};

}  // namespace zevik

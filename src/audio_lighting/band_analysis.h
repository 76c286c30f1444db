#pragma once
// CBandAnalysis: the desktop's sound turned into one sample record of the music modes, the way the
// capture program's records look: 25 band values, band b in values 5b to 5b + 4, values 125 to 499
// zero. The main window lights the keys from the change of these values between records, a change
// of 2000 counting as full level.
//
// Input: 48 kHz mono, full scale +-1. Each record looks at the last 2048 samples through a Hann
// window. The 25 bands are spaced logarithmically from 40 Hz to 16 kHz, each at least one FFT bin
// wide. A band's value is its energy in dB against what a full-scale sine at the band's centre gives
// in it, mapped linearly from -60 dB (0) to 0 dB (2000) and clamped to that range.
//
// Pure computation, no I/O and no allocation after construction; not thread-safe.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

struct kiss_fftr_state;

namespace zevik {

class CBandAnalysis {
public:
    static constexpr int kSampleRate = 48000;
    static constexpr std::size_t kWindow = 2048;
    static constexpr std::size_t kHop = kSampleRate / 50;  // one record every 20 ms
    static constexpr int kBandCount = 25;
    static constexpr double kLowestHz = 40.0;
    static constexpr double kHighestHz = 16000.0;
    static constexpr double kFloorDb = -60.0;
    static constexpr std::int32_t kFullLevel = 2000;
    static constexpr std::size_t kValueCount = 500;
    static constexpr std::size_t kValuesPerBand = 5;

    using Record = std::array<std::int32_t, kValueCount>;
    using Bands = std::array<std::int32_t, kBandCount>;
    using RecordBytes = std::array<std::uint8_t, kValueCount * 4>;

    CBandAnalysis();
    ~CBandAnalysis();
    CBandAnalysis(const CBandAnalysis&) = delete;
    CBandAnalysis& operator=(const CBandAnalysis&) = delete;

    // Appends samples; only the newest kWindow are kept (silence before the first).
    void Push(std::span<const float> samples);
    // The record of the newest kWindow samples.
    Record Analyse();

    // Band b's FFT bins, [first, last).
    std::pair<std::size_t, std::size_t> BandBins(int band) const { return bins_[band]; }
    // The frequency in the middle of band b's bins.
    static double CentreFrequency(std::pair<std::size_t, std::size_t> bins);
    double CentreFrequency(int band) const { return CentreFrequency(bins_[band]); }

    static Bands BandsOf(const Record& record);
    // The record as it travels: little-endian 32-bit values.
    static RecordBytes BytesOf(const Record& record);

private:
    // The energy of each band in the windowed block.
    void BandEnergies(std::span<const float> block, std::array<double, kBandCount>& energy);

    kiss_fftr_state* fft_ = nullptr;
    std::array<std::pair<std::size_t, std::size_t>, kBandCount> bins_{};
    std::array<double, kBandCount> reference_{};  // a full-scale sine's energy at each band's centre
    std::vector<float> hann_;
    std::vector<float> history_;  // ring of the newest kWindow samples
    std::size_t next_ = 0;        // where the next sample goes
    std::vector<float> block_;    // windowed, oldest first
    std::vector<float> spectrum_;  // kiss_fft_cpx pairs, kWindow / 2 + 1 of them
};

}  // namespace zevik

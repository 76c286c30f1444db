#include "audio_lighting/band_analysis.h"

#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zevik {

namespace {

constexpr double kBinHz = static_cast<double>(CBandAnalysis::kSampleRate) / CBandAnalysis::kWindow;

std::size_t NearestBin(double hz) { return static_cast<std::size_t>(std::lround(hz / kBinHz)); }

}  // namespace

CBandAnalysis::CBandAnalysis()
    : hann_(kWindow), history_(kWindow, 0.0f), block_(kWindow), spectrum_((kWindow / 2 + 1) * 2) {
    static_assert(sizeof(kiss_fft_cpx) == 2 * sizeof(float));
    fft_ = kiss_fftr_alloc(static_cast<int>(kWindow), 0, nullptr, nullptr);
    for (std::size_t n = 0; n < kWindow; ++n) {
        hann_[n] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / kWindow));
    }
    // Log-spaced edges; where they crowd closer than a bin, each band still takes one bin of its own.
    const double ratio = kHighestHz / kLowestHz;
    std::size_t first = NearestBin(kLowestHz);
    for (int b = 0; b < kBandCount; ++b) {
        const double upperHz = kLowestHz * std::pow(ratio, static_cast<double>(b + 1) / kBandCount);
        const std::size_t last = std::max(NearestBin(upperHz), first + 1);
        bins_[b] = {first, last};
        first = last;
    }
    // Calibration: what a full-scale sine at each band's centre gives in that band.
    for (int b = 0; b < kBandCount; ++b) {
        const double hz = CentreFrequency(b);
        for (std::size_t n = 0; n < kWindow; ++n) {
            block_[n] = static_cast<float>(std::sin(2.0 * std::numbers::pi * hz * n / kSampleRate)) * hann_[n];
        }
        std::array<double, kBandCount> energy{};
        BandEnergies(block_, energy);
        reference_[b] = energy[b];
    }
}

CBandAnalysis::~CBandAnalysis() { kiss_fftr_free(fft_); }

double CBandAnalysis::CentreFrequency(std::pair<std::size_t, std::size_t> bins) {
    return (static_cast<double>(bins.first) + static_cast<double>(bins.second - 1)) / 2.0 * kBinHz;
}

void CBandAnalysis::Push(std::span<const float> samples) {
    if (samples.size() >= kWindow) samples = samples.last(kWindow);
    for (const float s : samples) {
        // A broken stream's NaN or infinity would spoil the whole window: it counts as silence.
        history_[next_] = std::isfinite(s) ? s : 0.0f;
        next_ = (next_ + 1) % kWindow;
    }
}

void CBandAnalysis::BandEnergies(std::span<const float> block, std::array<double, kBandCount>& energy) {
    auto* out = reinterpret_cast<kiss_fft_cpx*>(spectrum_.data());
    kiss_fftr(fft_, block.data(), out);
    for (int b = 0; b < kBandCount; ++b) {
        double sum = 0.0;
        for (std::size_t k = bins_[b].first; k < bins_[b].second; ++k) {
            sum += static_cast<double>(out[k].r) * out[k].r + static_cast<double>(out[k].i) * out[k].i;
        }
        energy[b] = sum;
    }
}

CBandAnalysis::Record CBandAnalysis::Analyse() {
    for (std::size_t n = 0; n < kWindow; ++n) block_[n] = history_[(next_ + n) % kWindow] * hann_[n];
    std::array<double, kBandCount> energy{};
    BandEnergies(block_, energy);
    Record record{};
    for (int b = 0; b < kBandCount; ++b) {
        std::int32_t value = 0;
        if (std::isinf(energy[b])) {
            value = kFullLevel;  // beyond anything a float holds: as loud as it gets
        } else if (energy[b] > 0.0 && reference_[b] > 0.0) {
            const double db = 10.0 * std::log10(energy[b] / reference_[b]);
            const double scaled = (db - kFloorDb) / -kFloorDb * kFullLevel;
            value = static_cast<std::int32_t>(std::lround(std::clamp(scaled, 0.0, double{kFullLevel})));
        }
        std::fill_n(record.begin() + b * kValuesPerBand, kValuesPerBand, value);
    }
    return record;
}

CBandAnalysis::Bands CBandAnalysis::BandsOf(const Record& record) {
    Bands bands{};
    for (int b = 0; b < kBandCount; ++b) bands[b] = record[b * kValuesPerBand];
    return bands;
}

CBandAnalysis::RecordBytes CBandAnalysis::BytesOf(const Record& record) {
    RecordBytes bytes{};
    for (std::size_t i = 0; i < kValueCount; ++i) {
        const auto v = static_cast<std::uint32_t>(record[i]);
        for (std::size_t k = 0; k < 4; ++k) bytes[i * 4 + k] = static_cast<std::uint8_t>(v >> (8 * k));
    }
    return bytes;
}

}  // namespace zevik

#include "audio_lighting/audio_band_levels.h"

#include <cstdlib>

#include "devices/audio_heights.h"
#include "devices/orbantix_usb_device.h"

namespace zevik {

namespace {

template <std::size_t N>
void ReadValues(std::span<const std::uint8_t> bytes, std::array<std::int32_t, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        std::uint32_t v = 0;
        for (std::size_t b = 4; b-- > 0;) {
            const std::size_t at = i * 4 + b;
            v = v << 8 | (at < bytes.size() ? bytes[at] : 0u);
        }
        values[i] = static_cast<std::int32_t>(v);
    }
}

}  // namespace

void CAudioBandLevels::ProcessSamples(std::span<const std::uint8_t> sampleBytes, int keyboardRows,
                                      COrbantixUSBDevice* keyboard) {
    ++batchCounter_;
    std::array<std::int32_t, kSamples> samples;
    ReadValues(sampleBytes, samples);
    std::array<std::int32_t, kSamples> change;
    for (int i = 0; i < kSamples; ++i) {
        const auto k = static_cast<std::size_t>(i);
        change[k] = audio::Saturate(std::llabs(std::int64_t{samples[k]} - previous_[k]));
    }
    previous_ = samples;
    for (int row = 0; row < keyboardRows; ++row) {
        for (int b = 0; b < kBands; ++b) {
            const auto first = static_cast<std::size_t>(5 * b);
            // The fifth value of each group is not part of its band.
            const std::int64_t sum = std::int64_t{levels_[static_cast<std::size_t>(b)]} + change[first] +
                                     change[first + 1] + change[first + 2] + change[first + 3];
            levels_[static_cast<std::size_t>(b)] = audio::Saturate(sum / 4);
        }
        if (batchCounter_ >= kBatchRecords) {
            if (keyboard != nullptr) keyboard->AudioLevels(levels_);
            batchCounter_ = 0;
        }
    }
}

void ProcessAudioColour(std::span<const std::uint8_t> colourBytes, COrbantixUSBDevice* keyboard) {
    if (keyboard == nullptr) return;
    std::array<std::int32_t, 6> values;
    ReadValues(colourBytes, values);
    keyboard->AudioBands(values);
}

}  // namespace zevik

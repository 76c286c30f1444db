// Fuzz target: any bytes as the sound server's samples (32-bit floats, NaN and infinity included).
// Every record our capture builds from them holds 25 band values within 0..2000 and zeros from
// value 125 on.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "audio_lighting/band_analysis.h"

using namespace zevik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CBandAnalysis analysis;  // its window carries over between inputs, as a stream's does
    std::vector<float> samples(size / sizeof(float));
    if (!samples.empty()) std::memcpy(samples.data(), data, samples.size() * sizeof(float));
    analysis.Push(samples);
    const CBandAnalysis::Record record = analysis.Analyse();
    for (std::size_t i = 0; i < record.size(); ++i) {
        const bool inBand = i < CBandAnalysis::kBandCount * CBandAnalysis::kValuesPerBand;
        if (record[i] < 0 || record[i] > CBandAnalysis::kFullLevel || (!inBand && record[i] != 0)) std::abort();
        if (inBand && record[i] != record[i - i % CBandAnalysis::kValuesPerBand]) std::abort();
    }
    return 0;
}

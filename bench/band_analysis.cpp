// Our own capture's analysis of one 20 ms record: 960 new samples into the 2048-sample window, the
// Hann window, the FFT and the 25 band levels. It runs 50 times a second while the keyboard is in
// the music mode, so one record must cost far less than a millisecond: the share of one core is the
// CPU time per record x 50 (1 % of a core is 200 us per record).

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "audio_lighting/band_analysis.h"

namespace {

using zevik::CBandAnalysis;

void BM_AnalyseOneRecord(benchmark::State& state) {
    CBandAnalysis analysis;
    // A chord of three tones with some noise, as music is never silence.
    std::vector<float> sound(CBandAnalysis::kHop * 64);
    std::uint32_t seed = 1;
    for (std::size_t n = 0; n < sound.size(); ++n) {
        seed = seed * 1664525u + 1013904223u;
        const double t = static_cast<double>(n) / CBandAnalysis::kSampleRate;
        sound[n] = static_cast<float>(0.3 * std::sin(2 * std::numbers::pi * 110 * t) +
                                      0.2 * std::sin(2 * std::numbers::pi * 1000 * t) +
                                      0.1 * std::sin(2 * std::numbers::pi * 6000 * t) +
                                      0.05 * (static_cast<double>(seed >> 8) / (1u << 24) - 0.5));
    }
    std::size_t at = 0;
    for (auto _ : state) {
        analysis.Push(std::span<const float>(sound).subspan(at, CBandAnalysis::kHop));
        benchmark::DoNotOptimize(analysis.Analyse());
        at = (at + CBandAnalysis::kHop) % sound.size();
    }
}
BENCHMARK(BM_AnalyseOneRecord)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// One mode-29 step of the keyboard in each of the seven audio styles, over the whole key matrix, with
// a fresh batch of band levels before every step (the worst case: in use a batch arrives every third
// record and most steps only fade). The "allocs" counter is the number of heap allocations per step,
// counted by this program's operator new: a step allocates nothing. Goal: below 20 us a step.

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "devices/keyboard_audio_steps.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

// The replacements pair malloc with free; GCC cannot see that they replace the global pair.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

using namespace zevik;

void AudioStyleStep(benchmark::State& run) {
    LightInfoRecord light;
    light.light = 4;
    light.fx = 1;
    light.multiColor = 1;
    KeyboardLightState state;
    state.Reset();
    state.audio.lighting.audioMode = static_cast<std::uint8_t>(run.range(0));
    state.audio.lighting.sevenColorFlags = 1;
    state.audio.lighting.fgColorG = 255;
    KeyLightFrame frame;
    std::mt19937 random(42);
    // Loud and quiet bands in turn, changing every step, so bars rise and fall.
    std::array<std::int32_t, KeyboardAudioState::kBands> levels{};
    int turn = 0;
    const long before = g_allocations.load();
    for (auto _ : run) {
        for (size_t b = 0; b < levels.size(); ++b)
            levels[b] = static_cast<std::int32_t>((b * 160 + turn * 370) % 4000);
        ++turn;
        TakeAudioLevels(kAudioMode, state, levels);
        StepAudio(light, state, frame, random);
        benchmark::DoNotOptimize(frame.Get(64));
    }
    run.counters["allocs"] = benchmark::Counter(static_cast<double>(g_allocations.load() - before),
                                                benchmark::Counter::kAvgIterations);
}
BENCHMARK(AudioStyleStep)->ArgName("style")->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();

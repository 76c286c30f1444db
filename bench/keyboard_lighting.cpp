// One step of the keyboard's heaviest lighting modes over the whole key matrix (170 frame entries):
// the mask modes, the light show, the ripple's rise and fall, the twinkles, the sweep and the rain,
// then the per-key layers over every key and the preview output. The reported time (ns) is that of
// one frame; a step runs at most once per tick of 2 ms or more, so microseconds are far below it.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "devices/keyboard_key_events.h"
#include "devices/keyboard_light_layers.h"
#include "devices/keyboard_light_preview.h"
#include "devices/keyboard_lighting_steps.h"

namespace {

using namespace zevik;

LightInfoRecord Record(bool multi) {
    LightInfoRecord r;
    r.light = 4;
    r.speed = 4;
    r.fx = 1;
    r.multiColor = multi ? 1 : 0;
    r.red = 200;
    r.green = 100;
    r.blue = 50;
    return r;
}

void ModeStep(benchmark::State& run) {
    const int mode = static_cast<int>(run.range(0));
    const LightInfoRecord light = Record(run.range(1) != 0);
    KeyboardLightState state;
    KeyLightFrame frame;
    std::mt19937 random(42);
    KeyboardEntryStep(mode, state);
    if (mode == 8 || mode == 9 || mode == 25) {
        // Keys held all over the keyboard keep the masks and levels busy.
        for (int key = 0; key < lighting::kLogicalKeyCount; key += 5) {
            KeyboardKeyEvent(mode, key, KeyEventState::Pressed, state, random);
        }
    }
    std::uint64_t now = 0;
    for (auto _ : run) {
        KeyboardStep(mode, light, state, frame, random, now++);
        benchmark::DoNotOptimize(frame.Get(64));
    }
}
BENCHMARK(ModeStep)
    ->ArgNames({"mode", "multi"})
    ->Args({8, 1})
    ->Args({9, 1})
    ->Args({13, 1})
    ->Args({14, 1})
    ->Args({16, 1})
    ->Args({25, 1})
    ->Args({3, 0})
    ->Args({15, 1})
    ->Args({22, 1})
    ->Args({24, 0})
    ->Args({10, 1})
    ->Unit(benchmark::kNanosecond);

void LayersAndPreview(benchmark::State& run) {
    std::vector<LightListRecord> effects(lighting::kLogicalKeyCount);
    for (size_t k = 0; k < effects.size(); ++k) {
        effects[k].ledRegMode = static_cast<std::uint8_t>(k % 4);
        effects[k].ledBrightness = 4;
        effects[k].ledSpeed = 4;
        effects[k].ledMultiColor = 1;
        effects[k].present = 1;
    }
    KeyboardLightLayers layers;
    layers.Load(effects);
    KeyLightFrame frame;
    KeyLedIndices leds;
    for (size_t k = 0; k < leds.size(); ++k) leds[k] = static_cast<std::uint8_t>(k);
    std::uint64_t now = 0;
    for (auto _ : run) {
        layers.Run(frame, now += 2);
        benchmark::DoNotOptimize(PreviewKeyFrame(frame, leds, true));
    }
}
BENCHMARK(LayersAndPreview)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();

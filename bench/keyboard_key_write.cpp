// A key layer written to the emulated keyboard (N = 109) over the 1 ms-per-report USB link model (and
// through the receiver with its 1 ms radio hop per report): the device information, BeginConfig, the
// 327-byte layer in chunks (6 by cable, 14 through the receiver), EndConfig; through the receiver the
// link query first. Nothing is saved: the layer write alone is timed.
// - KeyboardLayerWrite/{layer1,layer2}_{cable,receiver}. Counters: ms, reports (both directions),
//   floor_ms (every report's link time plus the radio hop through the receiver, plus the 10 ms pause of EndConfig),
//   ratio (ms / floor_ms; goal at most 1.05).

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "devices/keyboard_device.h"
#include "emulated_keyboard_bench.h"

namespace {

using namespace zevik;
using Clock = std::chrono::steady_clock;

constexpr double kEndConfigPauseMs = 10.0;

void KeyboardLayerWrite(benchmark::State& state, int layer, bool receiver) {
    CKeyboardRig rig(receiver);
    COrbantixKeyboardDevice* keyboard = rig.Keyboard();
    if (keyboard == nullptr) {
        state.SkipWithError(rig.Error().c_str());
        return;
    }
    std::vector<KeyAssignRecord> keys = keyboard->KeyLayer(layer);
    keys.at(64).assignment = {0x30, 0xCD, 0x00};
    keyboard->SetKeyLayer(layer, keys);

    double totalMs = 0;
    long moved = 0;
    for (auto _ : state) {
        rig.reports = 0;
        const auto start = Clock::now();
        const int result = layer == 2 ? keyboard->WriteCurrentKeyLayer2(0) : keyboard->WriteCurrentKeyLayer1(0);
        const double took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (result != kResultDone) {
            state.SkipWithError(("the write failed: " + std::to_string(result)).c_str());
            break;
        }
        moved += rig.reports.load();
        state.SetIterationTime(took / 1000.0);
        totalMs += took;
    }
    if (state.iterations() > 0) {
        const double n = static_cast<double>(state.iterations());
        const double perWrite = static_cast<double>(moved) / n;
        using Ms = std::chrono::duration<double, std::milli>;
        const double perReport = Ms(kUsbFullSpeedFrame).count() + (receiver ? Ms(kReceiverRadioHop).count() : 0.0);
        const double floorMs = perWrite * perReport + kEndConfigPauseMs;
        state.counters["ms"] = totalMs / n;
        state.counters["reports"] = perWrite;
        state.counters["floor_ms"] = floorMs;
        state.counters["ratio"] = totalMs / n / floorMs;
    }
}
BENCHMARK_CAPTURE(KeyboardLayerWrite, layer1_cable, 1, false)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(KeyboardLayerWrite, layer2_cable, 2, false)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(KeyboardLayerWrite, layer1_receiver, 1, true)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(KeyboardLayerWrite, layer2_receiver, 2, true)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

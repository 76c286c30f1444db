// "Send patterns" on the recoil page of the emulated mouse: the four full patterns (30 bullets, 180
// events each: a 2920-byte image, 53 chunks of 56 bytes by cable) written with command 0x17 over the
// 1 ms-per-report USB link model, and through the receiver with its 1 ms radio hop per report.
// - RecoilUpload/cable, RecoilUpload/receiver. Counters: ms, reports, floor_ms (every report's link
//   time, both directions, plus the radio hop through the receiver, plus 10 ms for EndConfig), ratio
//   (ms / floor_ms; goal at most 1.05).

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "devices/mouse_recoil_image.h"
#include "emulated_mouse_bench.h"

namespace {

using namespace zevik;

void RecoilUpload(benchmark::State& state, bool receiver) {
    bench::CEmulatedMouseBench rig("recoil", receiver);
    COrbantixMouseDevice* mouse = rig.Mouse();
    if (mouse == nullptr) {
        state.SkipWithError(rig.Error().c_str());
        return;
    }
    std::filesystem::create_directories(mouse->KindFolder());
    for (int g = 0; g < kMouseRecoilPatternCount; ++g) {
        std::filesystem::copy_file(MouseRecoilFile(bench::kSkin.parent_path() / "DefaultData", g),
                                   MouseRecoilFile(mouse->KindFolder(), g),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    double totalMs = 0;
    long moved = 0;
    for (auto _ : state) {
        rig.reports = 0;
        const auto start = std::chrono::steady_clock::now();
        const int result = mouse->WriteRecoilData();
        const double took = bench::MsSince(start);
        if (result != 1) {
            state.SkipWithError(("the upload failed: " + std::to_string(result)).c_str());
            break;
        }
        moved += rig.reports.load();
        state.SetIterationTime(took / 1000.0);
        totalMs += took;
    }
    if (state.iterations() > 0) {
        const double n = static_cast<double>(state.iterations());
        const double perUpload = static_cast<double>(moved) / n;
        const double floorMs = bench::LinkFloorMs(perUpload, receiver, 1);
        state.counters["ms"] = totalMs / n;
        state.counters["reports"] = perUpload;
        state.counters["floor_ms"] = floorMs;
        state.counters["ratio"] = totalMs / n / floorMs;
    }
}
BENCHMARK_CAPTURE(RecoilUpload, cable, false)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(RecoilUpload, receiver, true)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

// Writing the mousepad's settings block on the 1 ms-per-report USB link model: the first write of a
// connection (it reads the active slot and the block first), and a later one (0x01, 0x06, 0x02).
// Goal: at most 1.05 x the link's floor for the reports it moves (every report's link time, both
// directions, plus the 10 ms pause before the 0x02). Counters: ms, floor_ms, ratio, reports.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "devices/mousepad_device.h"
#include "emulated_mouse_bench.h"
#include "emulator/emulation.h"
#include "settings/profile_locations.h"

namespace {

using namespace zevik;

void MousepadBlockWrite(benchmark::State& state) {
    const bool first = state.range(0) != 0;
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("zevik-bench-mousepad-" + std::to_string(::getpid()));
    CProfileLocations locations(root / "data", std::filesystem::path(ZEVIK_RESOURCE_DIR));

    std::string error;
    EmulationOptions options;
    options.list = "mousepad";
    options.usbFrame = kUsbFullSpeedFrame;
    std::unique_ptr<CEmulation> emulation = CEmulation::Create(options, error);
    if (!emulation) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::atomic<long> reports{0};
    emulation->EmulatedBackend().SetReportHook(
        [&reports](EmulatedReportDirection, const std::string&, std::span<const uint8_t>) { ++reports; });
    DeviceContext context;
    context.hidBackend = &emulation->Backend();
    context.profileLocations = &locations;
    {
        COrbantixMousePadDevice pad(context);
        if (!pad.CommandChannel().OpenConnection("emu:mousepad#vid_320f&pid_1004&mi_01&col04", kConnectionCable)) {
            state.SkipWithError("the pad's command interface did not open");
            return;
        }
        pad.Connect();
        pad.StopLightingThread();  // the preview plays no part in the write
        if (!first) pad.WriteSettingsBlock(0, 0);  // the block is read once on this connection
        double totalMs = 0;
        double floorMs = 0;
        long moved = 0;
        for (auto _ : state) {
            if (first) {
                state.PauseTiming();
                pad.Connect();  // a new connection: the block is not read yet
                pad.StopLightingThread();
                state.ResumeTiming();
            }
            reports = 0;
            const auto begin = std::chrono::steady_clock::now();
            const int result = pad.WriteSettingsBlock(0, 0);
            const double took = bench::MsSince(begin);
            if (result != kResultDone) {
                state.SkipWithError("the write failed");
                break;
            }
            totalMs += took;
            moved += reports.load();
            floorMs += bench::LinkFloorMs(static_cast<double>(reports.load()), false, 1);
            state.SetIterationTime(took / 1000.0);
        }
        const double n = static_cast<double>(state.iterations());
        state.counters["ms"] = totalMs / n;
        state.counters["floor_ms"] = floorMs / n;
        state.counters["ratio"] = floorMs > 0 ? totalMs / floorMs : 0;
        state.counters["reports"] = static_cast<double>(moved) / n;
    }
    emulation.reset();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}
BENCHMARK(MousepadBlockWrite)->Arg(1)->Arg(0)->ArgName("first")->UseManualTime()->Iterations(20)->Unit(
    benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

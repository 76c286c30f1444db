// Connecting the emulated keyboard on the 1 ms-per-report USB link model (and the radio hop through
// its receiver): COrbantixKeyboardDevice::Connect from an open channel to the layout, the profile and
// the settings block read, the page refreshed and the lighting running.
// Goal: at most 1.05 x the link's floor for the reports it moves (every report's link time, both
// directions, plus the 10 ms pause before the one 0x02). Counters: ms, floor_ms, ratio, reports.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "devices/keyboard_device.h"
#include "emulated_mouse_bench.h"
#include "emulator/emulation.h"
#include "settings/profile_locations.h"

namespace {

using namespace zevik;

void KeyboardConnect(benchmark::State& state) {
    const bool receiver = state.range(0) != 0;
    const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                       ("zevik-bench-keyboard-connect-" + std::to_string(::getpid()));
    const std::filesystem::path program = std::filesystem::path(ZEVIK_RESOURCE_DIR);
    CProfileLocations locations(root / "data", program);

    std::string error;
    EmulationOptions options;
    options.list = receiver ? "keyboard@both" : "keyboard";
    options.usbFrame = kUsbFullSpeedFrame;
    options.radioHop = kReceiverRadioHop;
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
        COrbantixKeyboardDevice keyboard(context);
        const char* path = receiver ? "emu:keyboard-receiver#vid_0000&pid_0000&mi_01&col04"
                                    : "emu:keyboard#vid_0000&pid_0000&mi_01&col04";
        if (!keyboard.CommandChannel().OpenConnection(path, receiver ? kConnectionReceiver : kConnectionCable)) {
            state.SkipWithError("the keyboard's command interface did not open");
            return;
        }
        keyboard.Connect();  // the first creates the profile folder and files
        double totalMs = 0;
        double floorMs = 0;
        long moved = 0;
        for (auto _ : state) {
            reports = 0;
            const auto begin = std::chrono::steady_clock::now();
            const int result = keyboard.Connect();
            const double took = bench::MsSince(begin);
            if (result != kResultDone) {
                state.SkipWithError("connect failed");
                break;
            }
            totalMs += took;
            moved += reports.load();
            floorMs += bench::LinkFloorMs(static_cast<double>(reports.load()), receiver, 1);
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
BENCHMARK(KeyboardConnect)->Arg(0)->Arg(1)->ArgName("receiver")->UseManualTime()->Iterations(10)->Unit(
    benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

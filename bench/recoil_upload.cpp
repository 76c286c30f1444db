// "Send patterns" on the recoil page of the emulated mouse: the four full patterns (30 bullets, 180
// events each: a 2920-byte image, 53 chunks of 56 bytes by cable) written with command 0x17 over the
// 1 ms-per-report USB link model, and through the receiver with its 1 ms radio hop per report.
// - RecoilUpload/cable, RecoilUpload/receiver. Counters: ms, reports, floor_ms (every report's link
//   time, both directions, plus the radio hop through the receiver, plus 10 ms for EndConfig), ratio
//   (ms / floor_ms; goal at most 1.05).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "devices/mouse_device.h"
#include "devices/mouse_recoil_image.h"
#include "emulator/emulation.h"
#include "shell/headless_session.h"

namespace {

using namespace zevik;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::filesystem::path kSkin = std::filesystem::path(ZEVIK_RESOURCE_DIR) / "skin";
constexpr double kEndConfigPauseMs = 10.0;

void RecoilUpload(benchmark::State& state, bool receiver) {
    const std::filesystem::path data = std::filesystem::temp_directory_path() /
                                       ("zevik-bench-recoil-" + std::to_string(::getpid()) + (receiver ? "-r" : "-c"));
    std::string error;
    EmulationOptions options;
    options.list = receiver ? "mouse@receiver" : "mouse";
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
    {
        CHeadlessSession session(emulation->Backend(), kSkin, data, kSkin.parent_path());
        COrbantixMouseDevice* mouse = session.Start(error) ? session.WaitForMouse(5s) : nullptr;
        if (mouse == nullptr) {
            state.SkipWithError("no mouse");
            return;
        }
        std::filesystem::create_directories(mouse->KindFolder());
        for (int g = 0; g < kMouseRecoilPatternCount; ++g) {
            std::filesystem::copy_file(MouseRecoilFile(kSkin.parent_path() / "DefaultData", g),
                                       MouseRecoilFile(mouse->KindFolder(), g),
                                       std::filesystem::copy_options::overwrite_existing);
        }
        double totalMs = 0;
        long moved = 0;
        for (auto _ : state) {
            reports = 0;
            const auto start = Clock::now();
            const int result = mouse->WriteRecoilData();
            const double took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            if (result != 1) {
                state.SkipWithError(("the upload failed: " + std::to_string(result)).c_str());
                break;
            }
            moved += reports.load();
            state.SetIterationTime(took / 1000.0);
            totalMs += took;
        }
        if (state.iterations() > 0) {
            const double n = static_cast<double>(state.iterations());
            const double perUpload = static_cast<double>(moved) / n;
            const double perReport = std::chrono::duration<double, std::milli>(kUsbFullSpeedFrame).count() +
                                     (receiver ? std::chrono::duration<double, std::milli>(kReceiverRadioHop).count() : 0.0);
            const double floorMs = perUpload * perReport + kEndConfigPauseMs;
            state.counters["ms"] = totalMs / n;
            state.counters["reports"] = perUpload;
            state.counters["floor_ms"] = floorMs;
            state.counters["ratio"] = totalMs / n / floorMs;
        }
    }
    emulation.reset();
    std::error_code ec;
    std::filesystem::remove_all(data, ec);
}
BENCHMARK_CAPTURE(RecoilUpload, cable, false)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(RecoilUpload, receiver, true)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

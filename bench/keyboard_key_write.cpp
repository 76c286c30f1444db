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
#include "emulator/emulation.h"
#include "settings/profile_locations.h"
#include "ui/plain_message_loop.h"

namespace {

using namespace zevik;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr double kEndConfigPauseMs = 10.0;

// The emulated keyboard over the link model, connected by cable or through its receiver, with a data
// folder of its own that is removed at the end.
class CKeyboardRig {
public:
    explicit CKeyboardRig(bool receiver)
        : root_(fs::temp_directory_path() / ("zevik-bench-kbd-keys-" + std::to_string(::getpid()))) {
        fs::remove_all(root_);
        const fs::path program = root_ / "program";
        fs::create_directories(program / "DefaultData");
        const fs::path factory = fs::path(ZEVIK_RESOURCE_DIR) / "DefaultData";
        for (const char* file : {"keyboard.Json", "default_light.json"}) {
            fs::copy_file(factory / file, program / "DefaultData" / file);
        }
        locations_ = std::make_unique<CProfileLocations>(root_ / "data", program);
        EmulationOptions options;
        options.list = "keyboard@both";
        options.usbFrame = kUsbFullSpeedFrame;
        options.radioHop = kReceiverRadioHop;
        emulation_ = CEmulation::Create(options, error_);
        if (!emulation_) return;
        emulation_->EmulatedBackend().SetReportHook(
            [this](EmulatedReportDirection, const std::string&, std::span<const uint8_t>) { ++reports; });
        context_.hidBackend = &emulation_->Backend();
        context_.uiLoop = &loop_;
        context_.profileLocations = locations_.get();
        keyboard_ = std::make_unique<COrbantixKeyboardDevice>(context_);
        std::vector<std::string> paths;
        emulation_->Backend().Enumerate(paths);
        std::string path;
        for (const std::string& p : paths) {
            const bool isReceiver = p.find("receiver") != std::string::npos;
            if (p.find("keyboard") != std::string::npos && p.find("col04") != std::string::npos && isReceiver == receiver) {
                path = p;
            }
        }
        if (path.empty() || !keyboard_->CommandChannel().OpenConnection(
                                path, receiver ? kConnectionReceiver : kConnectionCable)) {
            error_ = "the keyboard's command interface could not be opened";
        } else if (keyboard_->Connect() != kResultDone) {
            error_ = "the keyboard did not connect";
        }
    }
    ~CKeyboardRig() {
        keyboard_.reset();
        emulation_.reset();
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    COrbantixKeyboardDevice* Keyboard() const { return error_.empty() ? keyboard_.get() : nullptr; }
    const std::string& Error() const { return error_; }

    std::atomic<long> reports{0};  // both directions

private:
    fs::path root_;
    std::string error_;
    CPlainMessageLoop loop_;
    DeviceContext context_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<COrbantixKeyboardDevice> keyboard_;
};

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

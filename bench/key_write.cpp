// "Save to mouse" on the key page of the emulated mouse, over the 1 ms-per-report USB link model (and
// through the receiver with its 1 ms radio hop per report), through the headless main window: the key
// list (device information, BeginConfig, the key image in chunks, EndConfig), then the macros the keys
// use, filling the mouse's 2048-byte macro memory (device information, BeginConfig, the image in
// chunks, EndConfig). Timed up to the answered last EndConfig; the profile save that follows is timed
// alone and left out of the ratio, as the floor has no disk in it.
// - KeyWrite/cable, KeyWrite/receiver. Counters: ms, reports, floor_ms (every report's link time, both
//   directions, plus the radio hop through the receiver, plus 10 ms per EndConfig), save_ms, ratio
//   ((ms - save_ms) / floor_ms; goal at most 1.05).

#include <benchmark/benchmark.h>
#include <json/json.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "devices/mouse_device.h"
#include "emulator/emulation.h"
#include "settings/json_file_util.h"
#include "shell/headless_session.h"

namespace {

using namespace zevik;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::filesystem::path kSkin = std::filesystem::path(ZEVIK_RESOURCE_DIR) / "skin";
constexpr double kEndConfigPauseMs = 10.0;
constexpr int kEndConfigs = 2;  // the key list and the macros
// Two macros of 253 events: 16 + 2 x (6 + 253 x 4) = 2052 > 2048; 252 and 253 fit exactly.
constexpr int kEventsFirst = 252;
constexpr int kEventsSecond = 253;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void WriteMacros(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    Json::Value config(Json::objectValue);
    const std::pair<const char*, int> macros[] = {{"first", kEventsFirst}, {"second", kEventsSecond}};
    for (const auto& [name, count] : macros) {
        Json::Value entry(Json::objectValue);
        entry["MacroName"] = name;
        entry["Guid"] = name;
        config["MacroInfo"].append(entry);
        Json::Value macro(Json::objectValue);
        for (int i = 0; i < count; ++i) {
            Json::Value event(Json::objectValue);
            event["Action"] = i % 2 == 0 ? "down" : "up";
            event["Button"] = 4 + i % 26;
            event["Delay"] = "15";
            event["Type"] = 10;
            macro["Events"].append(event);
        }
        CJsonFileUtil().WriteJsonFile(folder / (std::string(name) + ".mac"), macro);
    }
    CJsonFileUtil().WriteJsonFile(folder / "macro.config", config);
}

void KeyWrite(benchmark::State& state, bool receiver) {
    const std::filesystem::path data = std::filesystem::temp_directory_path() /
                                       ("zevik-bench-keys-" + std::to_string(::getpid()) + (receiver ? "-r" : "-c"));
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
        WriteMacros(mouse->KindFolder());
        std::vector<KeyAssignRecord> keys = mouse->Profile().GetKeyList();
        keys.at(3).assignment = {0x70, 0, 0};
        keys.at(4).assignment = {0x71, 1, 3};
        mouse->Profile().SetKeyList(keys);

        double totalMs = 0;
        double saveMs = 0;
        long moved = 0;
        for (auto _ : state) {
            reports = 0;
            const auto start = Clock::now();
            const int result = mouse->WriteKeysAndMacros();
            const double took = MsSince(start);
            if (result != 0) {
                state.SkipWithError(("the write failed: " + std::to_string(result)).c_str());
                break;
            }
            moved += reports.load();
            state.SetIterationTime(took / 1000.0);
            totalMs += took;
            const auto saveStart = Clock::now();
            mouse->SaveDeviceProfile();
            saveMs += MsSince(saveStart);
        }
        if (state.iterations() > 0) {
            const double n = static_cast<double>(state.iterations());
            const double perWrite = static_cast<double>(moved) / n;
            const double perReport = std::chrono::duration<double, std::milli>(kUsbFullSpeedFrame).count() +
                                     (receiver ? std::chrono::duration<double, std::milli>(kReceiverRadioHop).count() : 0.0);
            const double floorMs = perWrite * perReport + kEndConfigs * kEndConfigPauseMs;
            state.counters["ms"] = totalMs / n;
            state.counters["reports"] = perWrite;
            state.counters["floor_ms"] = floorMs;
            state.counters["save_ms"] = saveMs / n;
            state.counters["ratio"] = (totalMs - saveMs) / n / floorMs;
        }
    }
    emulation.reset();
    std::error_code ec;
    std::filesystem::remove_all(data, ec);
}
BENCHMARK_CAPTURE(KeyWrite, cable, false)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(KeyWrite, receiver, true)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

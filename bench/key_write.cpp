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

#include "emulated_mouse_bench.h"
#include "settings/json_file_util.h"

namespace {

using namespace zevik;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kEndConfigs = 2;  // the key list and the macros
// Two macros of 253 events: 16 + 2 x (6 + 253 x 4) = 2052 > 2048; 252 and 253 fit exactly.
constexpr int kEventsFirst = 252;
constexpr int kEventsSecond = 253;

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
    bench::CEmulatedMouseBench rig("keys", receiver);
    COrbantixMouseDevice* mouse = rig.Mouse();
    if (mouse == nullptr) {
        state.SkipWithError(rig.Error().c_str());
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
        rig.reports = 0;
        const auto start = Clock::now();
        const int result = mouse->WriteKeysAndMacros();
        const double took = bench::MsSince(start);
        if (result != 0) {
            state.SkipWithError(("the write failed: " + std::to_string(result)).c_str());
            break;
        }
        moved += rig.reports.load();
        state.SetIterationTime(took / 1000.0);
        totalMs += took;
        const auto saveStart = Clock::now();
        mouse->SaveDeviceProfile();
        saveMs += bench::MsSince(saveStart);
    }
    if (state.iterations() > 0) {
        const double n = static_cast<double>(state.iterations());
        const double perWrite = static_cast<double>(moved) / n;
        const double floorMs = bench::LinkFloorMs(perWrite, receiver, kEndConfigs);
        state.counters["ms"] = totalMs / n;
        state.counters["reports"] = perWrite;
        state.counters["floor_ms"] = floorMs;
        state.counters["save_ms"] = saveMs / n;
        state.counters["ratio"] = (totalMs - saveMs) / n / floorMs;
    }
}
BENCHMARK_CAPTURE(KeyWrite, cable, false)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(KeyWrite, receiver, true)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

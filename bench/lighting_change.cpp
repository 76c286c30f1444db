// A lighting change on the mouse's lighting page, on the emulated mouse over the 1 ms-per-report USB
// link model, through the headless main window: the brightness slider's notification goes through the
// window's routing to the lighting handler, which stores the record, saves the profile and writes the
// settings block (BeginConfig, two chunks, EndConfig). Timed up to the answered EndConfig.
// - LightingChange: the whole change. Counters: ms, floor_ms (every report's link time, both
//   directions, plus the 10 ms pause of EndConfig: 4 exchanges, 8 reports, 18 ms), reports, save_ms
//   (the profile save inside the change, timed alone), ratio (the change without the save over the
//   floor; goal at most 1.05).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "editors/light_control_ui.h"
#include "emulated_mouse_bench.h"
#include "shell/lighting_handlers.h"
#include "ui/combo_ui.h"
#include "ui/slider_ui.h"

namespace {

using namespace zevik;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void LightingChange(benchmark::State& state) {
    bench::CEmulatedMouseBench rig("light", false);
    COrbantixMouseDevice* mouse = rig.Mouse();
    CLightControlUI* control = LightControlOf(mouse);
    if (mouse == nullptr || control == nullptr || control->BrightnessSlider() == nullptr) {
        state.SkipWithError("the mouse's lighting page is not there");
        return;
    }
    // Breathing offers the brightness.
    control->ModeCombo()->SelectItem(2, true);
    rig.Session().PumpFor(50ms);

    double changeMs = 0;
    double saveMs = 0;
    long moved = 0;
    int level = 0;
    for (auto _ : state) {
        level = level == 1 ? 2 : 1;
        rig.reports = 0;
        const auto start = Clock::now();
        control->BrightnessSlider()->UserSetValue(level);  // returns once EndConfig was answered
        const double took = bench::MsSince(start);
        moved += rig.reports.load();
        if (mouse->GetLighting().light != level) {
            state.SkipWithError("the change did not arrive");
            break;
        }
        state.SetIterationTime(took / 1000.0);
        changeMs += took;
        const auto saveStart = Clock::now();
        mouse->SaveDeviceProfile();
        saveMs += bench::MsSince(saveStart);
    }
    if (state.iterations() > 0) {
        const double n = static_cast<double>(state.iterations());
        const double perChange = static_cast<double>(moved) / n;
        const double floorMs = bench::LinkFloorMs(perChange, false, 1);
        state.counters["ms"] = changeMs / n;
        state.counters["reports"] = perChange;
        state.counters["floor_ms"] = floorMs;
        state.counters["save_ms"] = saveMs / n;
        state.counters["ratio"] = (changeMs - saveMs) / n / floorMs;
    }
}
BENCHMARK(LightingChange)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

// Recording into the macro page: 4000 captured key events (2000 presses and releases) taken by the
// page's recorder one by one, as the UI thread takes them from the capture hook, on the headless main
// window over the emulated mouse. Counters: us_per_event (goal below 50), rows.

#include <benchmark/benchmark.h>
#include <linux/input-event-codes.h>

#include <chrono>
#include <filesystem>

#include "editors/macro_control_ui.h"
#include "emulated_mouse_bench.h"

namespace {

using namespace zevik;

void RecordFourThousandEvents(benchmark::State& state) {
    bench::CEmulatedMouseBench rig("record", false, false);
    COrbantixMouseDevice* mouse = rig.Mouse();
    auto* page = FindControlOfClass<CMacroControlUI>(mouse);
    if (page == nullptr) {
        state.SkipWithError("the mouse's macro page is not there");
        return;
    }
    std::filesystem::create_directories(mouse->KindFolder());
    double totalUs = 0;
    size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        page->LoadMacroList();
        if (page->AddMacro().empty()) page->SelectMacro(0);
        page->DeleteAllEvents();
        page->StartRecording(4, RecordDelay::Real, 1);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 4000; ++i) {
            const std::uint16_t code = static_cast<std::uint16_t>(KEY_A + (i / 2) % 20);
            page->TakeRecorded({static_cast<std::uint64_t>(i) * 1000 + 10, EV_KEY, code, i % 2 == 0 ? 1 : 0});
        }
        totalUs += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        rows = page->RowEvents().size();
        page->StopRecording();
        state.ResumeTiming();
    }
    state.counters["us_per_event"] = totalUs / static_cast<double>(state.iterations()) / 4000.0;
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(RecordFourThousandEvents)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

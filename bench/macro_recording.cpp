// Recording into the macro page: 4000 captured key events (2000 presses and releases) taken by the
// page's recorder one by one, as the UI thread takes them from the capture hook, on the headless main
// window over the emulated mouse. Counters: us_per_event (goal below 50), rows.

#include <benchmark/benchmark.h>
#include <linux/input-event-codes.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "devices/mouse_device.h"
#include "editors/macro_control_ui.h"
#include "emulator/emulation.h"
#include "shell/headless_session.h"

namespace {

using namespace zevik;
using namespace std::chrono_literals;

const std::filesystem::path kSkin = std::filesystem::path(ZEVIK_RESOURCE_DIR) / "skin";

void RecordFourThousandEvents(benchmark::State& state) {
    const std::filesystem::path data =
        std::filesystem::temp_directory_path() / ("zevik-bench-record-" + std::to_string(::getpid()));
    std::string error;
    EmulationOptions options;
    options.list = "mouse";
    std::unique_ptr<CEmulation> emulation = CEmulation::Create(options, error);
    if (!emulation) {
        state.SkipWithError(error.c_str());
        return;
    }
    {
        CHeadlessSession session(emulation->Backend(), kSkin, data, kSkin.parent_path());
        COrbantixMouseDevice* mouse = session.Start(error) ? session.WaitForMouse(5s) : nullptr;
        CControlUI* found = mouse != nullptr ? mouse->FindControl(
                                                   [](CControlUI& c) {
                                                       return c.GetInterface(CMacroControlUI::kClassName) != nullptr;
                                                   },
                                                   UIFIND_ALL)
                                             : nullptr;
        if (found == nullptr) {
            state.SkipWithError("the mouse's macro page is not there");
            return;
        }
        auto* page = static_cast<CMacroControlUI*>(found->GetInterface(CMacroControlUI::kClassName));
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
    emulation.reset();
    std::error_code ec;
    std::filesystem::remove_all(data, ec);
}
BENCHMARK(RecordFourThousandEvents)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

// One light frame of the emulated keyboard (N = 109: 327 bytes) streamed as the music modes stream it,
// over the 1 ms-per-report USB link model: one lighting-stream transfer in chunks of 56 bytes by cable
// (6 reports), of 24 with a CRC through the receiver (14 reports, each with the 1 ms radio hop).
// - KeyboardFrameStream/{cable,receiver}. Counters: ms, reports (both directions), floor_ms (every
//   report's link time, plus the radio hop through the receiver), ratio (ms / floor_ms; goal at most 1.05).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "devices/channel_frame_link.h"
#include "emulated_keyboard_bench.h"

namespace {

using namespace zevik;
using Clock = std::chrono::steady_clock;

void KeyboardFrameStream(benchmark::State& state, bool receiver) {
    CKeyboardRig rig(receiver);
    COrbantixKeyboardDevice* keyboard = rig.Keyboard();
    if (keyboard == nullptr) {
        state.SkipWithError(rig.Error().c_str());
        return;
    }
    CChannelFrameLink link(keyboard->CommandChannel());
    std::vector<std::uint8_t> frame(static_cast<size_t>(keyboard->PositionCount()) * 3);
    double totalMs = 0;
    long moved = 0;
    std::uint8_t shade = 0;
    for (auto _ : state) {
        for (std::uint8_t& byte : frame) byte = shade;
        ++shade;
        rig.reports = 0;
        const auto start = Clock::now();
        const FrameSendResult result = link.SendFrame(frame);
        const double took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (result != FrameSendResult::Sent) {
            state.SkipWithError("the frame was not sent");
            break;
        }
        moved += rig.reports.load();
        state.SetIterationTime(took / 1000.0);
        totalMs += took;
    }
    if (state.iterations() > 0) {
        const double n = static_cast<double>(state.iterations());
        const double perFrame = static_cast<double>(moved) / n;
        using Ms = std::chrono::duration<double, std::milli>;
        const double perReport = Ms(kUsbFullSpeedFrame).count() + (receiver ? Ms(kReceiverRadioHop).count() : 0.0);
        const double floorMs = perFrame * perReport;
        state.counters["ms"] = totalMs / n;
        state.counters["reports"] = perFrame;
        state.counters["floor_ms"] = floorMs;
        state.counters["ratio"] = totalMs / n / floorMs;
    }
}
BENCHMARK_CAPTURE(KeyboardFrameStream, cable, false)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(KeyboardFrameStream, receiver, true)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

// One LED frame of the emulated headset over the 1 ms-per-report USB link model: twelve LED reports,
// each a control transfer of one link frame.
// - HeadsetFrame/link: the twelve reports as the LED worker sends them. Counters: ms, reports,
//   floor_ms (12 x 1 ms), ratio (ms / floor_ms; goal at most 1.05).
// - HeadsetFrame/handoff: what a lighting turn costs the thread that computes the frame: the frame's
//   LED levels and their hand-off to the worker (which sends them meanwhile). Counter: us per turn
//   (goal below 100 us; the UI thread does none of it).

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "devices/headset_led_link.h"
#include "devices/headset_led_output.h"
#include "devices/lighting_frame.h"
#include "devices/lighting_tables.h"
#include "emulator/emulation.h"
#include "transport/command_channel.h"
#include "transport/headset_led_report.h"

namespace {

using namespace zevik;
using Clock = std::chrono::steady_clock;

constexpr const char* kHeadsetPath = "emu:headset#vid_0c76&pid_1630&mi_03";

// The emulated headset on the 1 ms link, its command channel open by cable, its reports counted.
struct HeadsetRig {
    HeadsetRig() {
        EmulationOptions options;
        options.list = "headset";
        options.usbFrame = kUsbFullSpeedFrame;
        emulation = CEmulation::Create(options, error);
        if (!emulation) return;
        emulation->EmulatedBackend().SetReportHook(
            [this](EmulatedReportDirection, const std::string&, std::span<const std::uint8_t> report) {
                if (!report.empty() && report[0] == headset_led::kReportId) ++reports;
            });
        channel = std::make_unique<CCommandChannel>(emulation->Backend());
        if (!channel->OpenConnection(kHeadsetPath, kConnectionCable)) {
            error = "the headset could not be opened";
            channel.reset();
        }
    }

    std::unique_ptr<CEmulation> emulation;
    std::unique_ptr<CCommandChannel> channel;
    std::atomic<long> reports{0};
    std::string error;
};

void FillFrame(CLightFrame& frame, std::uint8_t shade) {
    for (int led = 0; led < frame.Size(); ++led) {
        frame.Set(led, lighting::PackLightEntry({shade, static_cast<std::uint8_t>(255 - shade), 40}, 255));
    }
}

void HeadsetFrameLink(benchmark::State& state) {
    HeadsetRig rig;
    if (!rig.channel) {
        state.SkipWithError(rig.error.c_str());
        return;
    }
    CHeadsetLedLink link(*rig.channel);
    CLightFrame frame;
    frame.Resize(headset_led::kLedCount);
    double totalMs = 0;
    long moved = 0;
    std::uint8_t shade = 0;
    for (auto _ : state) {
        FillFrame(frame, shade++);
        const auto levels = CHeadsetLedOutput::LevelsOf(frame);
        rig.reports = 0;
        const auto start = Clock::now();
        const FrameSendResult result = link.SendFrame(levels);
        const double took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (result != FrameSendResult::Sent || link.ReportsFailed() != 0) {
            state.SkipWithError("the frame was not sent whole");
            break;
        }
        moved += rig.reports.load();
        state.SetIterationTime(took / 1000.0);
        totalMs += took;
    }
    if (state.iterations() > 0) {
        const double n = static_cast<double>(state.iterations());
        const double perFrame = static_cast<double>(moved) / n;
        const double floorMs = perFrame * std::chrono::duration<double, std::milli>(kUsbFullSpeedFrame).count();
        state.counters["ms"] = totalMs / n;
        state.counters["reports"] = perFrame;
        state.counters["floor_ms"] = floorMs;
        state.counters["ratio"] = totalMs / n / floorMs;
    }
}
BENCHMARK(HeadsetFrameLink)->Name("HeadsetFrame/link")->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void HeadsetFrameHandoff(benchmark::State& state) {
    HeadsetRig rig;
    if (!rig.channel) {
        state.SkipWithError(rig.error.c_str());
        return;
    }
    CHeadsetLedOutput output(*rig.channel);
    output.Start();
    CLightFrame frame;
    frame.Resize(15);
    double totalUs = 0;
    std::uint8_t shade = 0;
    for (auto _ : state) {
        FillFrame(frame, shade++);
        const auto start = Clock::now();
        output.Offer(frame);
        const double took = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        state.SetIterationTime(took / 1e6);
        totalUs += took;
        // The next turn comes a lighting turn later (31.25 ms): the worker sends meanwhile.
        std::this_thread::sleep_for(std::chrono::microseconds(31250));
    }
    output.Stop();
    if (state.iterations() > 0) state.counters["us"] = totalUs / static_cast<double>(state.iterations());
}
BENCHMARK(HeadsetFrameHandoff)->Name("HeadsetFrame/handoff")->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(64);

}  // namespace

BENCHMARK_MAIN();

// The synchronised-lighting thread on its own, with devices on emulated channels:
// - Idle: nobody follows. Goal: no wake-ups at all. Counters: wakeups (the thread's context
//   switches over the run), steps.
// - OneFollower: one mouse-sized device (15 LEDs) follows at speed 4, the fastest (a step on every
//   15.625 ms tick). Goal: below 0.1 % of one core. Counters: cpu_percent of the thread, steps_per_s,
//   wakeups_per_s.
// - WakeFloor: what the machine charges for waking a thread 64 times a second and nothing else (a
//   timed wait on the same event type the thread uses): the floor below which OneFollower cannot go.
// - StepWork: the work of one step alone (the shared effect and the 15 frame entries of one
//   follower), without the wake-up; share_at_64hz_percent is that work at 64 steps a second.
// Each run of the three above lasts 2 s of wall time.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "../tests/devices/kind_device.h"
#include "devices/orbantix_usb_device.h"
#include "devices/sync_lighting_thread.h"
#include "devices/worker_event.h"
#include "platform/thread_name.h"
#include "emulator/emulation.h"
#include "transport/command_channel.h"

namespace {

using namespace zevik;
using namespace std::chrono_literals;

constexpr const char* kMouseCommandPath = "emu:mouse#vid_320f&pid_225a&mi_01&col04";
constexpr auto kRun = 2s;

constexpr int kMouseLeds = 15;

struct ThreadUse {
    long switches = 0;
    double cpuMs = 0;
};

// The sync thread's use so far (its name starts with "zevik-sync").
ThreadUse SyncThreadUse() {
    ThreadUse use;
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        if (!name.starts_with("zevik-sync")) continue;
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.find("ctxt_switches:") != std::string::npos) use.switches += std::stol(line.substr(line.find(':') + 1));
        }
        double cpuNs = 0;
        std::ifstream(task.path() / "schedstat") >> cpuNs;
        use.cpuMs += cpuNs / 1e6;
    }
    return use;
}

void Run(benchmark::State& state, bool follow) {
    std::string error;
    EmulationOptions options;
    options.list = "mouse";
    std::unique_ptr<CEmulation> emulation = CEmulation::Create(options, error);
    if (!emulation) {
        state.SkipWithError(error.c_str());
        return;
    }
    DeviceContext context;
    context.hidBackend = &emulation->Backend();
    test::CKindDevice device(context, kDeviceKindMouse, kMouseLeds);
    device.CommandChannel().OpenConnection(kMouseCommandPath, kConnectionCable);
    LightInfoRecord record;
    record.light = 4;
    record.speed = 4;
    for (auto _ : state) {
        CSyncLightingThread thread;
        thread.Configure(SharedEffect::ColourCycle, record);
        thread.SetFollowers({&device});
        device.SetSameMode(follow);
        thread.Start();
        std::this_thread::sleep_for(100ms);  // settled: the start's own wake-ups are not counted
        const ThreadUse before = SyncThreadUse();
        const std::uint64_t stepsBefore = thread.StepCount();
        std::this_thread::sleep_for(kRun);
        const ThreadUse after = SyncThreadUse();
        const double seconds = std::chrono::duration<double>(kRun).count();
        state.counters["steps"] = static_cast<double>(thread.StepCount() - stepsBefore);
        state.counters["steps_per_s"] = static_cast<double>(thread.StepCount() - stepsBefore) / seconds;
        state.counters["wakeups"] = static_cast<double>(after.switches - before.switches);
        state.counters["wakeups_per_s"] = static_cast<double>(after.switches - before.switches) / seconds;
        state.counters["cpu_percent"] = (after.cpuMs - before.cpuMs) / (seconds * 1000.0) * 100.0;
        thread.Stop();
    }
}

void WakeFloor(benchmark::State& state) {
    for (auto _ : state) {
        CWorkerEvent stop(CWorkerEvent::Reset::Manual);
        std::thread ticker([&stop] {
            SetCurrentThreadName("zevik-sync-floor");
            auto due = std::chrono::steady_clock::now();
            while (!stop.WaitUntil(due += CSyncLightingThread::kSystemTick)) {
            }
        });
        std::this_thread::sleep_for(100ms);
        const ThreadUse before = SyncThreadUse();
        std::this_thread::sleep_for(kRun);
        const ThreadUse after = SyncThreadUse();
        const double seconds = std::chrono::duration<double>(kRun).count();
        state.counters["wakeups_per_s"] = static_cast<double>(after.switches - before.switches) / seconds;
        state.counters["cpu_percent"] = (after.cpuMs - before.cpuMs) / (seconds * 1000.0) * 100.0;
        stop.Set();
        ticker.join();
    }
}

void StepWork(benchmark::State& state) {
    std::string error;
    EmulationOptions options;
    options.list = "mouse";
    std::unique_ptr<CEmulation> emulation = CEmulation::Create(options, error);
    if (!emulation) {
        state.SkipWithError(error.c_str());
        return;
    }
    DeviceContext context;
    context.hidBackend = &emulation->Backend();
    test::CKindDevice device(context, kDeviceKindMouse, kMouseLeds);
    SharedLightState shared;
    shared.type = SharedEffect::ColourCycle;
    shared.brightness = 4;
    shared.speed = 4;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const std::uint32_t entry = SharedLightStep(shared, 0);
        for (int i = 0; i < device.GetLightButtonCount(); ++i) device.SetLightEntry(i, entry);
        benchmark::DoNotOptimize(entry);
    }
    const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    const double perStepNs = state.iterations() > 0 ? ns / static_cast<double>(state.iterations()) : 0.0;
    state.counters["share_at_64hz_percent"] = perStepNs * 64.0 / 1e9 * 100.0;
}

void Idle(benchmark::State& state) { Run(state, false); }
void OneFollower(benchmark::State& state) { Run(state, true); }

BENCHMARK(Idle)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(OneFollower)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WakeFloor)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StepWork)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();

// Discovery and connect against the emulated mouse on the 1 ms-per-report USB link model, through the
// headless main window (scan thread, arrival, connect reads):
// - PlugToSettingsRead: from the cable being plugged in to the mouse's settings having been read.
//   Goal: one scan period (100 ms) plus the protocol floor of the connect reads (the link time of every
//   report they move, both directions). Counters: ms, floor_ms (link time of the reports), reports.
// - IdleCpu: CPU time of the whole process per second of wall time with the mouse connected by cable
//   and its lighting running, with the scan thread (scan:1) and without it (scan:0), and with the
//   window hidden in the tray (tray:1: polling on hold, window not active). Goal: below 0.3 % of one
//   core. Counters: cpu_percent; wake-ups per second (context switches) of the whole process and of
//   the UI, scan, lighting and notification threads.
// - ScanPass: one scan pass over a fake sysfs of 12 other HID nodes through the hidraw backend (every
//   row free, so a full pass lists and reads them all), with the backend's change count (counted:1,
//   nothing changed: the pass is skipped) and without it (counted:0, as on a system where /dev cannot
//   be watched). Time per pass; the scan runs 10 passes a second.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "../tests/transport/hid_fake_sysfs.h"
#include "devices/discovery_interface_list.h"
#include "devices/mouse_device.h"
#include "devices/scan_thread.h"
#include "emulator/emulation.h"
#include "shell/headless_session.h"
#include "shell/main_wnd.h"
#include "transport/hid/hidraw_backend.h"
#include "ui/plain_message_loop.h"

namespace {

using namespace zevik;
using namespace std::chrono_literals;

const std::filesystem::path kSkin = std::filesystem::path(ZEVIK_RESOURCE_DIR) / "skin";

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct ThreadUse {
    long switches = 0;  // context switches: wake-ups of a sleeping thread, or preemptions
    double cpuMs = 0;
};

// Per thread name (the main thread as "ui").
std::map<std::string, ThreadUse> ThreadUsage() {
    std::map<std::string, ThreadUse> byName;
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        if (task.path().filename() == std::to_string(::getpid())) name = "ui";
        std::ifstream status(task.path() / "status");
        long switches = 0;
        for (std::string line; std::getline(status, line);) {
            if (line.find("ctxt_switches:") != std::string::npos) {
                switches += std::stol(line.substr(line.find(':') + 1));
            }
        }
        double cpuNs = 0;
        std::ifstream(task.path() / "schedstat") >> cpuNs;
        byName[name].switches += switches;
        byName[name].cpuMs += cpuNs / 1e6;
    }
    return byName;
}

struct Rig {
    std::filesystem::path data;
    std::unique_ptr<CEmulation> emulation;
    std::unique_ptr<CHeadlessSession> session;
    std::atomic<long> reports{0};

    bool Start(bool plugged, std::string& error) {
        data = std::filesystem::temp_directory_path() / ("zevik-bench-" + std::to_string(::getpid()));
        EmulationOptions options;
        options.list = "mouse";
        options.usbFrame = kUsbFullSpeedFrame;
        emulation = CEmulation::Create(options, error);
        if (!emulation) return false;
        if (!plugged && !emulation->Unplug("mouse", error)) return false;
        emulation->EmulatedBackend().SetReportHook(
            [this](EmulatedReportDirection, const std::string&, std::span<const uint8_t>) { ++reports; });
        session = std::make_unique<CHeadlessSession>(emulation->Backend(), kSkin, data, kSkin.parent_path());
        return session->Start(error);
    }
    ~Rig() {
        session.reset();
        emulation.reset();
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
    }
};

void PlugToSettingsRead(benchmark::State& state) {
    double totalMs = 0;
    double floorMs = 0;
    long reports = 0;
    for (auto _ : state) {
        Rig rig;
        std::string error;
        if (!rig.Start(false, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        rig.session->PumpFor(250ms);  // a few empty passes
        rig.reports = 0;
        const auto begin = std::chrono::steady_clock::now();
        rig.emulation->Plug("mouse", error);
        if (rig.session->WaitForMouse(5s) == nullptr) {
            state.SkipWithError("the mouse was not read");
            return;
        }
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
        totalMs += took.count();
        reports += rig.reports.load();
        floorMs += static_cast<double>(rig.reports.load()) * 1.0;  // one USB frame per report
        state.SetIterationTime(took.count() / 1000.0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["ms"] = totalMs / n;
    state.counters["floor_ms"] = floorMs / n;
    state.counters["reports"] = static_cast<double>(reports) / n;
}
BENCHMARK(PlugToSettingsRead)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void IdleCpu(benchmark::State& state) {
    Rig rig;
    std::string error;
    if (!rig.Start(true, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    COrbantixMouseDevice* mouse = rig.session->WaitForMouse(5s);
    if (mouse == nullptr || !mouse->IsLightingThreadRunning()) {
        state.SkipWithError("the mouse did not connect with its lighting running");
        return;
    }
    rig.session->PumpFor(500ms);
    if (state.range(0) == 0) {
        rig.session->Window().StopScan();  // the share of everything but the scan thread
    }
    if (state.range(1) != 0) {
        // What hiding the window to the tray does to the devices: polling on hold, window not active.
        for (COrbantixUSBDevice* device : rig.session->Window().Devices(CMainWnd::kFamilyMouse)) {
            device->SetPollingHold(true);
            device->SetWindowActive(false);
        }
        rig.session->PumpFor(100ms);
    }
    double cpuPercent = 0;
    std::map<std::string, double> wakeups;
    std::map<std::string, double> cpuShare;
    for (auto _ : state) {
        const std::map<std::string, ThreadUse> use0 = ThreadUsage();
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        rig.session->PumpFor(3s);
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wall0;
        cpuPercent = 100.0 * (ProcessCpuSeconds() - cpu0) / wall.count();
        for (const auto& [name, use] : ThreadUsage()) {
            const auto before = use0.find(name);
            const ThreadUse start = before != use0.end() ? before->second : ThreadUse{};
            wakeups[name] = static_cast<double>(use.switches - start.switches) / wall.count();
            cpuShare[name] = 0.1 * (use.cpuMs - start.cpuMs) / wall.count();  // percent of one core
            wakeups["all"] += wakeups[name];
        }
    }
    state.counters["cpu_percent"] = cpuPercent;
    for (const char* name : {"all", "ui", "zevik-scan", "zevik-light", "zevik-notify"}) {
        const std::string shortName = name[0] == 'z' ? name + 6 : name;
        state.counters["wake_" + shortName] = wakeups[name];
        if (shortName != "all") state.counters["cpu_" + shortName] = cpuShare[name];
    }
}
BENCHMARK(IdleCpu)
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->ArgNames({"scan", "tray"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The hidraw backend without its change count.
class CUncountedBackend final : public IHidBackend {
public:
    explicit CUncountedBackend(IHidBackend& inner) : m_inner(inner) {}
    bool Enumerate(std::vector<std::string>& paths) override { return m_inner.Enumerate(paths); }
    std::unique_ptr<IHidConnection> Open(const std::string& path, bool wantRead, bool wantWrite) override {
        return m_inner.Open(path, wantRead, wantWrite);
    }

private:
    IHidBackend& m_inner;
};

void ScanPass(benchmark::State& state) {
    // A boot mouse: one top-level collection.
    const std::vector<uint8_t> mouse = {
        0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15,
        0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x03, 0x05, 0x01,
        0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0};
    testing::FakeSysfs sysfs;
    for (int n = 0; n < 12; ++n) {
        sysfs.Add({n, 0x046D, static_cast<uint16_t>(0xC000 + n), mouse, n % 3});
    }
    CHidrawBackend hidraw(sysfs.Sys(), sysfs.Dev());
    CUncountedBackend uncounted(hidraw);
    IHidBackend& backend = state.range(0) != 0 ? static_cast<IHidBackend&>(hidraw) : uncounted;
    CPlainMessageLoop loop;
    CDiscoveryInterfaceList list;
    CScanThread scan(backend, loop, 0, 0, list);
    scan.RunPass();  // the first pass always looks
    for (auto _ : state) {
        scan.RunPass();
    }
}
BENCHMARK(ScanPass)->Arg(0)->Arg(1)->ArgName("counted")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

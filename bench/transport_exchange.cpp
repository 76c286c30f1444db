// The transport's cost against the emulated mouse:
// - ExchangeOverhead: one request/answer exchange with zero link latency, i.e. what the channel, the
//   HID layer and the emulated backend add in software;
// - SettingsBlockWrite: a 94-byte settings-block write (BeginConfig, two chunks, EndConfig) over the
//   1 ms-per-report USB link model, reported as a ratio to its protocol floor: every report's link time
//   plus the 10 ms pause of EndConfig. The goal is a ratio of at most 1.05.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "emulator/emulation.h"
#include "transport/command_channel.h"
#include "transport/command_set.h"
#include "transport/device_catalogue.h"
#include "transport/vendor_report.h"

namespace {

using namespace zevik;

constexpr size_t kSettingsBlockSize = 94;
constexpr uint16_t kSettingsBlockAddress = 0x80;

struct Rig {
    std::unique_ptr<CEmulation> emulation;
    std::unique_ptr<CCommandChannel> channel;
};

// The emulated mouse by cable, its command interface open in a channel; null members on failure.
Rig OpenMouse(std::chrono::microseconds usbFrame) {
    Rig rig;
    EmulationOptions options;
    options.list = "mouse";
    options.usbFrame = usbFrame;
    std::string error;
    rig.emulation = CEmulation::Create(options, error);
    if (!rig.emulation) return rig;
    const CommandInterfaceRow* row = FindCommandInterface("mouse");
    rig.channel = std::make_unique<CCommandChannel>(rig.emulation->Backend());
    for (const std::string& path : rig.emulation->EmulatedBackend().PathsOf("mouse")) {
        if (PathMatches(*row, path)) rig.channel->OpenConnection(path, kConnectionCable);
    }
    return rig;
}

void ExchangeOverhead(benchmark::State& state) {
    Rig rig = OpenMouse(std::chrono::microseconds(0));
    if (!rig.channel || !rig.channel->IsOpen()) {
        state.SkipWithError("cannot open the emulated mouse");
        return;
    }
    vendor::Report request = vendor::MakeRequest(vendor::kCmdReadStatus);
    request[vendor::kOffsetLength] = 6;
    vendor::StoreChecksum(request);
    vendor::Report answer{};
    for (auto _ : state) {
        const int result = rig.channel->Exchange(request, answer);
        if (result != kResultDone) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
}
BENCHMARK(ExchangeOverhead)->Unit(benchmark::kMicrosecond);

void SettingsBlockWrite(benchmark::State& state) {
    const auto usbFrame = std::chrono::microseconds(1000);
    Rig rig = OpenMouse(usbFrame);
    if (!rig.channel || !rig.channel->IsOpen()) {
        state.SkipWithError("cannot open the emulated mouse");
        return;
    }
    std::vector<uint8_t> block(kSettingsBlockSize);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i);

    // Exchanges: BeginConfig, two chunks of 56 and 38 bytes, EndConfig; each one report out, one in.
    const size_t chunks = (kSettingsBlockSize + rig.channel->ChunkSize() - 1) / rig.channel->ChunkSize();
    const double reports = 2.0 * static_cast<double>(2 + chunks);
    const double floorMs = reports * std::chrono::duration<double, std::milli>(usbFrame).count() + 10.0;

    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int begin = BeginConfig(*rig.channel);
        const int write = WriteMemory(*rig.channel, block, kSettingsBlockAddress);
        const int end = EndConfig(*rig.channel);
        const double elapsed =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (begin != kResultDone || write != kResultDone || end != kResultDone) {
            state.SkipWithError("settings-block write failed");
            break;
        }
        state.SetIterationTime(elapsed / 1000.0);
        totalMs += elapsed;
    }
    if (state.iterations() > 0) {
        state.counters["floor_ms"] = floorMs;
        state.counters["ratio"] = totalMs / static_cast<double>(state.iterations()) / floorMs;
    }
}
BENCHMARK(SettingsBlockWrite)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

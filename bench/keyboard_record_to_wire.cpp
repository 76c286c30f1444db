// From a batch's third sample record to the first light frame on the wire that shows it: the emulated
// keyboard (N = 109, the 1 ms-per-report link model, by cable or through its receiver) in the music mode, with its lighting
// thread, its option's frame timer on a UI loop with the real clock, and its frame stream, as the
// desktop program runs them. Each turn, the keyboard first rests in silence until its frame stands
// still; then, after a random wait (so every phase of the step and frame timers comes up), a batch of
// three records is handled on the UI loop, the third loud. The turn ends when the stream has sent a
// frame that differs from the resting one.
//
// The floor is what the schedule alone costs: from the record to the next mode-29 step (on the
// lighting thread's 31.25 ms grid), then to the next frame timer due at or after that step (the timer
// is due 15.625 ms, through the receiver 62.5 ms, after its last run ended), then one frame's reports
// on the link (the chunks and the keyboard's answers, 1 ms each, plus the radio hop through the
// receiver). Counters: ms (mean latency), floor_ms (mean floor), ratio (ms /
// floor_ms; goal at most 1.05), reports (per frame).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "audio_lighting/audio_band_levels.h"
#include "devices/device_option_ui.h"
#include "devices/keyboard_light_output.h"
#include "emulated_keyboard_bench.h"
#include "emulator/firmware_model.h"

namespace {

using namespace zevik;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

constexpr auto kStepPeriod = 31250us;  // mode 29: every second tick
constexpr int kMusicMode = 29;

// The keyboard, with the start of each lighting step and the end of each frame timer run noted.
class CWatchedKeyboard final : public COrbantixKeyboardDevice {
public:
    using COrbantixKeyboardDevice::COrbantixKeyboardDevice;

    void RunLightStep() override {
        Note(steps_, Clock::now());
        COrbantixKeyboardDevice::RunLightStep();
    }
    void SendLightFrame() override {
        COrbantixKeyboardDevice::SendLightFrame();
        Note(frameEnds_, Clock::now());
    }
    std::vector<Clock::time_point> Steps() const { return Copy(steps_); }
    std::vector<Clock::time_point> FrameEnds() const { return Copy(frameEnds_); }

private:
    void Note(std::vector<Clock::time_point>& times, Clock::time_point t) {
        std::lock_guard lock(mutex_);
        times.push_back(t);
    }
    std::vector<Clock::time_point> Copy(const std::vector<Clock::time_point>& times) const {
        std::lock_guard lock(mutex_);
        return times;
    }
    mutable std::mutex mutex_;
    std::vector<Clock::time_point> steps_;
    std::vector<Clock::time_point> frameEnds_;
};

// The lighting thread's step grid: it steps at due times one period apart, so each step starts at or
// after its due time. The grid is placed at the earliest of the observed starts.
Clock::time_point StepGridOrigin(const std::vector<Clock::time_point>& steps) {
    Clock::duration earliest = Clock::duration::max();
    for (size_t k = 0; k < steps.size(); ++k) {
        earliest = std::min(earliest, steps[k] - steps.front() - kStepPeriod * static_cast<long>(k));
    }
    return steps.front() + earliest;
}

Clock::time_point NextStepDue(Clock::time_point origin, Clock::time_point after) {
    const auto periods = (after - origin + kStepPeriod - 1us) / kStepPeriod;
    return origin + kStepPeriod * std::max<long>(0, periods);
}

// The frame timer's first due time at or after t: each run is due one period after the last ended.
Clock::time_point NextFrameDue(const std::vector<Clock::time_point>& frameEnds, Clock::duration period,
                               Clock::time_point t) {
    for (const Clock::time_point end : frameEnds) {
        if (end + period >= t) return end + period;
    }
    return Clock::time_point::max();
}

std::vector<std::uint8_t> SampleRecord(std::int32_t value) {
    std::vector<std::uint8_t> bytes(CAudioBandLevels::kSamples * 4);
    for (size_t i = 0; i < bytes.size(); i += 4) {
        const auto v = static_cast<std::uint32_t>(value);
        for (size_t b = 0; b < 4; ++b) bytes[i + b] = static_cast<std::uint8_t>(v >> (8 * b));
    }
    return bytes;
}

struct Turn {
    Clock::time_point record;  // the third record's handling began
    Clock::time_point onWire;  // the stream had sent a frame that shows it
};

void KeyboardRecordToWire(benchmark::State& state, bool receiver) {
    KeyboardRigOptions options;
    options.clock = CPlainMessageLoop::ClockMode::Real;
    options.makeDevice = [](const DeviceContext& context) {
        return std::make_unique<CWatchedKeyboard>(context);
    };
    CKeyboardRig rig(receiver, options);
    auto* keyboard = static_cast<CWatchedKeyboard*>(rig.Keyboard());
    CFirmwareModel* model = rig.Model();
    if (keyboard == nullptr || model == nullptr) {
        state.SkipWithError(rig.Error().c_str());
        return;
    }
    CPlainMessageLoop& loop = rig.Loop();
    CDeviceOptionUI option;
    option.SetDevice(keyboard);
    keyboard->SetDeviceOption(&option);
    LightInfoRecord light = keyboard->GetLighting();
    light.selectItem = kMusicMode;
    keyboard->SetLighting(light);
    option.ResumeLightFrame();

    const int rows = receiver ? 1 : 2;  // a keyboard on the cable has two rows in the interface list
    CAudioBandLevels levels;
    const std::vector<std::uint8_t> quiet = SampleRecord(0);
    const std::vector<std::uint8_t> loud = SampleRecord(std::numeric_limits<std::int32_t>::max() / 4);
    CKeyboardFrameStream& stream = keyboard->LightOutput().Stream();
    const size_t frameBytes = static_cast<size_t>(keyboard->PositionCount()) * 3;
    const auto shownFrame = [&] {
        std::vector<std::uint8_t> area = model->ReadArea("light_frame");
        area.resize(std::min(area.size(), frameBytes));
        return area;
    };
    const auto pumpFor = [&](Clock::duration d) {
        const auto until = Clock::now() + d;
        loop.RunUntil([&] { return Clock::now() >= until; });
    };
    // Silence until the sent frame stands still for a few frames: that frame is the resting one.
    const auto rest = [&](std::vector<std::uint8_t>& resting) {
        int still = 0;
        for (int i = 0; i < 400 && still < 4; ++i) {
            const auto sentBefore = stream.GetCounts().sent;
            for (int r = 0; r < CAudioBandLevels::kBatchRecords; ++r)
                levels.ProcessSamples(quiet, rows, keyboard);
            pumpFor(receiver ? 70ms : 20ms);
            std::vector<std::uint8_t> now = shownFrame();
            still = (now == resting && stream.GetCounts().sent > sentBefore) ? still + 1 : 0;
            resting = std::move(now);
        }
        return still >= 4;
    };

    std::mt19937 random(42);
    std::uniform_int_distribution<int> phaseUs(0, static_cast<int>(kStepPeriod.count()));
    std::vector<Turn> turns;
    std::vector<std::uint8_t> resting = shownFrame();
    for (auto _ : state) {
        if (!rest(resting)) {
            state.SkipWithError("the frame never stood still in silence");
            break;
        }
        pumpFor(std::chrono::microseconds(phaseUs(random)));
        levels.ProcessSamples(quiet, rows, keyboard);
        levels.ProcessSamples(quiet, rows, keyboard);
        Turn turn;
        std::atomic<bool> shown{false};
        const auto sentBefore = stream.GetCounts().sent;
        // A watcher sees the stream's sends as they happen; the loop keeps running the frame timer.
        std::thread watcher([&] {
            auto seen = sentBefore;
            while (!shown) {
                const auto sent = stream.GetCounts().sent;
                if (sent != seen) {
                    const Clock::time_point at = Clock::now();
                    seen = sent;
                    if (shownFrame() != resting) {
                        turn.onWire = at;
                        shown = true;
                    }
                }
                std::this_thread::sleep_for(50us);
            }
        });
        turn.record = Clock::now();
        levels.ProcessSamples(loud, rows, keyboard);
        const auto deadline = Clock::now() + 2s;
        loop.RunUntil([&] { return shown.load() || Clock::now() > deadline; });
        if (!shown) {
            shown = true;
            watcher.join();
            state.SkipWithError("no frame showed the record");
            break;
        }
        watcher.join();
        turns.push_back(turn);
        state.SetIterationTime(Micros(turn.onWire - turn.record).count() / 1e6);
    }
    keyboard->SetDeviceOption(nullptr);
    if (turns.empty()) return;

    // One frame's reports, both ways, as the link carries them.
    rig.reports = 0;
    const auto sentBefore = stream.GetCounts().sent;
    pumpFor(200ms);
    const double framesSent = static_cast<double>(stream.GetCounts().sent - sentBefore);
    const double reportsPerFrame = framesSent > 0 ? static_cast<double>(rig.reports.load()) / framesSent : 0;
    const Micros perReport = Micros(kUsbFullSpeedFrame) + (receiver ? Micros(kReceiverRadioHop) : Micros(0));
    const Micros wire = perReport * reportsPerFrame;
    const auto framePeriod = CMessageLoop::RoundTimerPeriod(CDeviceOptionUI::FramePeriodMs(receiver));

    const std::vector<Clock::time_point> steps = keyboard->Steps();
    const std::vector<Clock::time_point> frameEnds = keyboard->FrameEnds();
    const Clock::time_point origin = StepGridOrigin(steps);
    double latencyUs = 0;
    double floorUs = 0;
    for (const Turn& turn : turns) {
        const Clock::time_point step = NextStepDue(origin, turn.record);
        const Clock::time_point frame = NextFrameDue(frameEnds, framePeriod, step);
        latencyUs += Micros(turn.onWire - turn.record).count();
        floorUs += Micros(frame - turn.record).count() + wire.count();
    }
    const double n = static_cast<double>(turns.size());
    state.counters["ms"] = latencyUs / n / 1000;
    state.counters["floor_ms"] = floorUs / n / 1000;
    state.counters["ratio"] = latencyUs / floorUs;
    state.counters["reports"] = reportsPerFrame;
}
BENCHMARK_CAPTURE(KeyboardRecordToWire, cable, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);
BENCHMARK_CAPTURE(KeyboardRecordToWire, receiver, true)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

BENCHMARK_MAIN();

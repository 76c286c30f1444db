// The sound server's monitor, read for real when a sound server runs (PulseAudio or PipeWire's
// PulseAudio server; a null sink will do). CTest runs these once as they are, where they skip
// without a server, and once beside a private server with a null sink as the only output
// (tests/with_sound_server.sh), where a tone played into it must be heard and a server that stops
// sending must not hold a read past Interrupt.

#include "audio_lighting/pulse_monitor_source.h"

#include <gtest/gtest.h>
#include <pulse/simple.h>
#include <signal.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <thread>
#include <vector>

#include "audio_lighting/band_analysis.h"

namespace zevik {
namespace {

using namespace std::chrono_literals;

class PulseMonitorSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        if (CPulseMonitorSource::DefaultSinkName(error).empty()) {
            GTEST_SKIP() << "no sound server in this session (" << error << ")";
        }
    }
    // Tests that play into the output or stop the server run only beside the tests' own server,
    // never on a user's desktop.
    static pid_t OwnServer() {
        const char* pid = std::getenv("ZEVIK_TEST_SOUND_SERVER_PID");
        return pid != nullptr ? static_cast<pid_t>(std::atol(pid)) : 0;
    }
};

// Plays a full-scale sine into the default output from its own thread until stopped.
class TonePlayer {
public:
    explicit TonePlayer(double hz) : thread_([this, hz] { Play(hz); }) {}
    ~TonePlayer() {
        stop_ = true;
        thread_.join();
    }
    bool Failed() const { return failed_; }

private:
    void Play(double hz) {
        pa_sample_spec format{};
        format.format = PA_SAMPLE_FLOAT32LE;
        format.rate = CBandAnalysis::kSampleRate;
        format.channels = 1;
        int code = 0;
        pa_simple* out = pa_simple_new(nullptr, "zevik-test", PA_STREAM_PLAYBACK, nullptr, "tone", &format,
                                       nullptr, nullptr, &code);
        if (out == nullptr) {
            failed_ = true;
            return;
        }
        std::vector<float> block(CBandAnalysis::kHop);
        std::uint64_t n = 0;
        while (!stop_) {
            for (float& s : block) {
                s = static_cast<float>(std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(n++) /
                                                CBandAnalysis::kSampleRate));
            }
            if (pa_simple_write(out, block.data(), block.size() * sizeof(float), &code) < 0) {
                failed_ = true;
                break;
            }
        }
        pa_simple_free(out);
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> failed_{false};
    std::thread thread_;
};

TEST_F(PulseMonitorSourceTest, ReadsTheDefaultOutputsMonitor) {
    CPulseMonitorSource source;
    std::string error;
    ASSERT_TRUE(source.Open(error)) << error;
    std::array<float, CBandAnalysis::kHop> samples{};
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(source.Read(samples, error)) << error;
    for (const float s : samples) EXPECT_TRUE(std::isfinite(s));
}

TEST_F(PulseMonitorSourceTest, HearsAToneThatIsPlayedIntoTheOutputInItsBand) {
    if (OwnServer() == 0) GTEST_SKIP() << "plays only into the tests' own server";
    CBandAnalysis analysis;
    const int band = 12;
    const double hz = analysis.CentreFrequency(band);
    CPulseMonitorSource source;
    std::string error;
    ASSERT_TRUE(source.Open(error)) << error;
    TonePlayer player(hz);
    std::array<float, CBandAnalysis::kHop> samples{};
    CBandAnalysis::Bands loudest{};
    // Two seconds at most: the tone arrives after the server's buffering.
    for (int i = 0; i < 100 && loudest[band] < 1500; ++i) {
        ASSERT_TRUE(source.Read(samples, error)) << error;
        analysis.Push(samples);
        loudest = CBandAnalysis::BandsOf(analysis.Analyse());
    }
    ASSERT_FALSE(player.Failed());
    EXPECT_GE(loudest[band], 1500) << "the tone at " << hz << " Hz was not heard";
    // Once the tone's start (a click heard in every band) has left the window, the bands far from it
    // stay low: the server's resampling adds little.
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(source.Read(samples, error)) << error;
        analysis.Push(samples);
    }
    const CBandAnalysis::Bands steady = CBandAnalysis::BandsOf(analysis.Analyse());
    EXPECT_GE(steady[band], 1500);
    EXPECT_LT(steady[2], 800);
    EXPECT_LT(steady[22], 800);
}

TEST_F(PulseMonitorSourceTest, InterruptEndsAReadWhileTheServerSendsNothing) {
    const pid_t server = OwnServer();
    if (server == 0) GTEST_SKIP() << "stops only the tests' own server";
    CPulseMonitorSource source;
    std::string error;
    ASSERT_TRUE(source.Open(error)) << error;
    std::array<float, CBandAnalysis::kHop> samples{};
    ASSERT_TRUE(source.Read(samples, error)) << error;

    ASSERT_EQ(::kill(server, SIGSTOP), 0);
    const auto stopped = std::chrono::steady_clock::now();
    std::atomic<bool> readEnded{false};
    std::thread helper([&] {
        std::this_thread::sleep_for(300ms);
        source.Interrupt();
        // Should the interrupt be lost, the server goes on after a while, so the test fails rather
        // than hangs.
        for (int i = 0; i < 50 && !readEnded; ++i) std::this_thread::sleep_for(100ms);
        ::kill(server, SIGCONT);
    });
    bool read = true;
    while (read && std::chrono::steady_clock::now() - stopped < 10s) read = source.Read(samples, error);
    readEnded = true;
    const auto waited = std::chrono::steady_clock::now() - stopped;
    helper.join();
    EXPECT_FALSE(read);
    EXPECT_EQ(error, "interrupted");
    EXPECT_LT(waited, 2s);
}

}  // namespace
}  // namespace zevik

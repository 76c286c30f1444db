#include "audio_lighting/audio_capture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "audio_lighting/band_analysis.h"

namespace zevik {
namespace {

// Plays a constant level; can refuse to open or break after some reads.
class FakeSource final : public IAudioSource {
public:
    FakeSource(bool opens, int readsBeforeBreak) : opens_(opens), readsLeft_(readsBeforeBreak) {}
    bool Open(std::string& error) override {
        if (!opens_) error = "no sound server: connection refused";
        return opens_;
    }
    bool Read(std::span<float> samples, std::string& error) override {
        if (readsLeft_-- == 0) {
            error = "the sound stream broke";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        for (float& s : samples) s = 0.5f;
        return true;
    }

private:
    bool opens_;
    int readsLeft_;
};

struct Collected {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::size_t> sizes;
    std::vector<std::string> failures;

    bool WaitFor(std::function<bool()> done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), done);
    }
};

CAudioCapture MakeCapture(Collected& c, bool opens, int reads) {
    return CAudioCapture(
        [opens, reads] { return std::make_unique<FakeSource>(opens, reads); },
        [&c](std::span<const std::uint8_t> record) {
            std::lock_guard lock(c.mutex);
            c.sizes.push_back(record.size());
            c.changed.notify_all();
        },
        [&c](const std::string& reason) {
            std::lock_guard lock(c.mutex);
            c.failures.push_back(reason);
            c.changed.notify_all();
        });
}

TEST(AudioCaptureTest, NoThreadUntilStartedAndNoneAfterStop) {
    Collected c;
    CAudioCapture capture = MakeCapture(c, true, -1);
    EXPECT_FALSE(capture.HasThread());
    capture.Start();
    capture.Start();  // running already
    ASSERT_TRUE(c.WaitFor([&] { return c.sizes.size() >= 3; }));
    EXPECT_TRUE(capture.IsCapturing());
    capture.Stop();
    EXPECT_FALSE(capture.HasThread());
    std::lock_guard lock(c.mutex);
    for (std::size_t size : c.sizes) EXPECT_EQ(size, 2000u);
    EXPECT_TRUE(c.failures.empty());
}

TEST(AudioCaptureTest, SourceThatCannotOpenOrBreaksEndsTheRunWithItsReason) {
    struct Case {
        bool opens;
        int reads;
        std::size_t records;
        const char* reason;
    };
    for (const Case& k : {Case{false, -1, 0, "no sound server: connection refused"},
                          Case{true, 2, 2, "the sound stream broke"}}) {
        SCOPED_TRACE(k.reason);
        Collected c;
        CAudioCapture capture = MakeCapture(c, k.opens, k.reads);
        capture.Start();
        ASSERT_TRUE(c.WaitFor([&] { return !c.failures.empty(); }));
        // Ended by itself: not capturing, and a later Start tries again.
        for (int i = 0; i < 500 && capture.IsCapturing(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_FALSE(capture.IsCapturing());
        capture.Start();
        ASSERT_TRUE(c.WaitFor([&] { return c.failures.size() == 2; }));
        capture.Stop();
        std::lock_guard lock(c.mutex);
        EXPECT_EQ(c.failures[0], k.reason);
        EXPECT_EQ(c.sizes.size(), 2 * k.records);
    }
}

}  // namespace
}  // namespace zevik

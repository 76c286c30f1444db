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

// A desktop that plays nothing and a server that sends nothing: each read waits until interrupted
// (or ten seconds, so that a lost interrupt fails the test instead of hanging it).
class SilentServerSource final : public IAudioSource {
public:
    bool Open(std::string&) override { return true; }
    bool Read(std::span<float>, std::string& error) override {
        std::unique_lock lock(mutex_);
        reading_ = true;
        woken_.notify_all();
        woken_.wait_for(lock, std::chrono::seconds(10), [this] { return interrupted_; });
        error = "interrupted";
        return false;
    }
    void Interrupt() override {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
        woken_.notify_all();
    }
    bool WaitUntilReading() {
        std::unique_lock lock(mutex_);
        return woken_.wait_for(lock, std::chrono::seconds(5), [this] { return reading_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool reading_ = false;
    bool interrupted_ = false;
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

TEST(AudioCaptureTest, StopEndsAReadThatWaitsForSoundThatNeverComes) {
    Collected c;
    SilentServerSource* source = nullptr;
    CAudioCapture capture(
        [&source] {
            auto made = std::make_unique<SilentServerSource>();
            source = made.get();
            return made;
        },
        [](std::span<const std::uint8_t>) {},
        [&c](const std::string& reason) {
            std::lock_guard lock(c.mutex);
            c.failures.push_back(reason);
        });
    capture.Start();
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(source->WaitUntilReading());
    const auto asked = std::chrono::steady_clock::now();
    capture.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(2));
    EXPECT_FALSE(capture.HasThread());
    std::lock_guard lock(c.mutex);
    EXPECT_TRUE(c.failures.empty()) << "a stop is no failure: " << c.failures.front();
}

}  // namespace
}  // namespace zevik

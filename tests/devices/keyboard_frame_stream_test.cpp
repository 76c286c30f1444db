// The keyboard's frame stream worker over a fake link: it sends on its own thread, only the latest
// frame of those offered while it was busy, backs off after a failure and then sends the latest frame
// (the failed one when nothing newer came); and the channel link splits a frame into its reports.

#include "devices/keyboard_frame_stream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "devices/channel_frame_link.h"
#include "transport/channel_fixture.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> Frame(std::uint8_t fill, size_t size = 327) {
    return std::vector<std::uint8_t>(size, fill);
}

// Records every frame with its time and thread; the answers are scripted per call; a gate can hold
// the link inside a send.
class FakeLink final : public IFrameStreamLink {
public:
    struct Call {
        std::vector<std::uint8_t> frame;
        Clock::time_point at;
        std::thread::id thread;
    };

    FrameSendResult SendFrame(std::span<const std::uint8_t> frame) override {
        std::unique_lock lock(mutex_);
        calls_.push_back({{frame.begin(), frame.end()}, Clock::now(), std::this_thread::get_id()});
        const size_t index = calls_.size() - 1;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !held_; });
        return index < script_.size() ? script_[index] : FrameSendResult::Sent;
    }

    void Script(std::vector<FrameSendResult> results) {
        std::lock_guard lock(mutex_);
        script_ = std::move(results);
    }
    void Hold(bool held) {
        {
            std::lock_guard lock(mutex_);
            held_ = held;
        }
        changed_.notify_all();
    }
    // Waits until at least count calls were made; false after 2 s.
    bool WaitForCalls(size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 2s, [&] { return calls_.size() >= count; });
    }
    std::vector<Call> Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Call> calls_;
    std::vector<FrameSendResult> script_;
    bool held_ = false;
};

TEST(KeyboardFrameStream, SendsOnItsOwnThreadOnlyTheLatestOfTheFramesOfferedWhileBusy) {
    FakeLink link;
    CKeyboardFrameStream stream(link);
    ASSERT_TRUE(stream.Start());
    link.Hold(true);
    stream.Offer(Frame(1));
    ASSERT_TRUE(link.WaitForCalls(1));
    for (std::uint8_t n = 2; n <= 5; ++n) stream.Offer(Frame(n));  // the link is still busy with 1
    link.Hold(false);
    ASSERT_TRUE(link.WaitForCalls(2));
    std::this_thread::sleep_for(30ms);  // room for a wrong third send
    stream.Stop();

    const std::vector<FakeLink::Call> calls = link.Calls();
    ASSERT_EQ(calls.size(), 2U);
    EXPECT_EQ(calls[0].frame, Frame(1));
    EXPECT_EQ(calls[1].frame, Frame(5));
    for (const FakeLink::Call& call : calls) EXPECT_NE(call.thread, std::this_thread::get_id());
    const CKeyboardFrameStream::Counts counts = stream.GetCounts();
    EXPECT_EQ(counts.sent, 2U);
    EXPECT_EQ(counts.replaced, 3U);
}

TEST(KeyboardFrameStream, BacksOffAfterAFailureThenSendsTheLatestFrame) {
    struct Case {
        const char* name;
        bool newerFrame;            // a frame is offered while the stream backs off
        std::uint8_t expectedRetry;  // the frame sent after the back-off
    };
    for (const Case c : {Case{"the failed frame again", false, 1}, Case{"the newer frame", true, 2}}) {
        SCOPED_TRACE(c.name);
        FakeLink link;
        link.Script({FrameSendResult::Failed});
        CKeyboardFrameStream stream(link);
        ASSERT_TRUE(stream.Start());
        stream.Offer(Frame(1));
        ASSERT_TRUE(link.WaitForCalls(1));
        if (c.newerFrame) stream.Offer(Frame(2));
        ASSERT_TRUE(link.WaitForCalls(2));
        stream.Stop();

        const std::vector<FakeLink::Call> calls = link.Calls();
        ASSERT_EQ(calls.size(), 2U);
        EXPECT_EQ(calls[1].frame, Frame(c.expectedRetry));
        EXPECT_GE(calls[1].at - calls[0].at, CKeyboardFrameStream::kBackOff);
        EXPECT_EQ(stream.GetCounts().failed, 1U);
        EXPECT_EQ(stream.GetCounts().sent, 1U);
    }
}

TEST(KeyboardFrameStream, AFrameTheLinkDropsIsNotRetried) {
    FakeLink link;
    link.Script({FrameSendResult::Dropped});
    CKeyboardFrameStream stream(link);
    ASSERT_TRUE(stream.Start());
    stream.Offer(Frame(1));
    ASSERT_TRUE(link.WaitForCalls(1));
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(stream.HasPending());
    stream.Stop();
    EXPECT_EQ(link.Calls().size(), 1U);
    EXPECT_EQ(stream.GetCounts().dropped, 1U);
}

TEST(KeyboardFrameStream, StopEndsABackOffAtOnceAndFramesOfferedWhileStoppedAreIgnored) {
    FakeLink link;
    link.Script({FrameSendResult::Failed});
    CKeyboardFrameStream stream(link, std::chrono::milliseconds(10'000));
    stream.Offer(Frame(9));  // not running: ignored
    ASSERT_TRUE(stream.Start());
    stream.Offer(Frame(1));
    ASSERT_TRUE(link.WaitForCalls(1));
    const Clock::time_point before = Clock::now();
    stream.Stop();
    EXPECT_LT(Clock::now() - before, 1s);
    EXPECT_FALSE(stream.IsRunning());
    const std::vector<FakeLink::Call> calls = link.Calls();
    ASSERT_EQ(calls.size(), 1U);
    EXPECT_EQ(calls[0].frame, Frame(1));
}

class ChannelFrameLinkTest : public ChannelTest {};

TEST_F(ChannelFrameLinkTest, AFrameOf109KeysGoesAsSixStreamReportsByCable) {
    CChannelFrameLink link(channel_);
    EXPECT_EQ(link.SendFrame(Frame(7)), FrameSendResult::Dropped);  // closed: nothing sent
    EXPECT_TRUE(node_->Requests().empty());
    Connect(kConnectionCable);
    EXPECT_EQ(link.SendFrame(Frame(7)), FrameSendResult::Sent);
    const auto requests = node_->Requests();
    ASSERT_EQ(requests.size(), 6U);  // 327 bytes in chunks of 56
    for (const Report& r : requests) EXPECT_EQ(r[vendor::kOffsetCommand], vendor::kCmdStreamLights);
    channel_.SetStreamPaused(true);
    EXPECT_EQ(link.SendFrame(Frame(7)), FrameSendResult::Dropped);
    EXPECT_EQ(node_->Requests().size(), 6U);
}

}  // namespace
}  // namespace zevik::test

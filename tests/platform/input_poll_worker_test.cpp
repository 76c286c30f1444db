// The capture worker over pipes standing in for input nodes: asleep without input, one wake-up per
// input, and an unplugged node (its writer gone) neither keeps it awake nor stops the others.

#include "platform/input_poll_worker.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace zevik {
namespace {

using namespace std::chrono_literals;

struct Pipe {
    int fds[2] = {-1, -1};
    Pipe() { EXPECT_EQ(::pipe(fds), 0); }
    ~Pipe() {
        for (const int fd : fds) {
            if (fd >= 0) ::close(fd);
        }
    }
    void Write() { ASSERT_EQ(::write(fds[1], "x", 1), 1); }
    void CloseWriter() {
        ::close(fds[1]);
        fds[1] = -1;
    }
};

bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) std::this_thread::sleep_for(5ms);
    return done();
}

TEST(InputPollWorker, SleepsWithoutInputAndWakesOncePerInput) {
    Pipe a, b;
    std::atomic<int> readFromB{0};
    CInputPollWorker worker;
    ASSERT_TRUE(worker.Start({a.fds[0], b.fds[0]}, [&](std::size_t i) {
        char c = 0;
        const int fd = i == 0 ? a.fds[0] : b.fds[0];
        if (::read(fd, &c, 1) == 1 && i == 1) ++readFromB;
    }));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(worker.Wakeups(), 0u) << "no input, no wake-up";
    b.Write();
    ASSERT_TRUE(WaitFor([&] { return readFromB == 1; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(worker.Wakeups(), 1u);
    const auto stopping = std::chrono::steady_clock::now();
    worker.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, 100ms);
    EXPECT_FALSE(worker.IsRunning());
}

TEST(InputPollWorker, AnUnpluggedNodeIsLeftOutAndTheOthersStillCount) {
    Pipe gone, kept;
    std::atomic<int> fromKept{0};
    CInputPollWorker worker;
    ASSERT_TRUE(worker.Start({gone.fds[0], kept.fds[0]}, [&](std::size_t i) {
        char c = 0;
        if (i == 1 && ::read(kept.fds[0], &c, 1) == 1) ++fromKept;
    }));
    gone.CloseWriter();
    ASSERT_TRUE(WaitFor([&] { return worker.Wakeups() >= 1; }));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(worker.Wakeups(), 1u) << "a hung-up node does not keep the worker awake";
    kept.Write();
    EXPECT_TRUE(WaitFor([&] { return fromKept == 1; }));
}

}  // namespace
}  // namespace zevik

#pragma once
// CInputPollWorker: the thread that waits for input on a set of file descriptors (the input nodes
// of a capture). It sleeps in poll until one of them is readable or Stop is called (through an
// eventfd), so it costs nothing while no input comes; Wakeups counts its returns from poll, so that
// can be measured. A descriptor that reports an error or a hang-up (an unplugged device) is left out
// from then on. The caller keeps the descriptors open until Stop returns.

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace zevik {

class CInputPollWorker {
public:
    // Called on the worker's thread with the index of a readable descriptor.
    using Readable = std::function<void(std::size_t index)>;

    CInputPollWorker() = default;
    ~CInputPollWorker();
    CInputPollWorker(const CInputPollWorker&) = delete;
    CInputPollWorker& operator=(const CInputPollWorker&) = delete;

    // False when the worker cannot be set up (no eventfd). A running worker is stopped first.
    bool Start(std::vector<int> fds, Readable onReadable);
    // Ends the worker and waits for it.
    void Stop();
    bool IsRunning() const { return worker_.joinable(); }
    // Returns from poll since Start.
    std::uint64_t Wakeups() const { return wakeups_.load(std::memory_order_relaxed); }

private:
    void Run();

    std::vector<int> fds_;
    Readable onReadable_;
    int stopFd_ = -1;
    std::atomic<std::uint64_t> wakeups_{0};
    std::thread worker_;
};

}  // namespace zevik

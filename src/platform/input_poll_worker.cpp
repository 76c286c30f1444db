#include "platform/input_poll_worker.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

#include "platform/thread_name.h"

namespace zevik {

CInputPollWorker::~CInputPollWorker() { Stop(); }

bool CInputPollWorker::Start(std::vector<int> fds, Readable onReadable) {
    Stop();
    stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) return false;
    fds_ = std::move(fds);
    onReadable_ = std::move(onReadable);
    wakeups_.store(0, std::memory_order_relaxed);
    worker_ = std::thread([this] { Run(); });
    return true;
}

void CInputPollWorker::Stop() {
    if (worker_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(stopFd_, &one, sizeof one);
        worker_.join();
    }
    if (stopFd_ >= 0) ::close(stopFd_);
    stopFd_ = -1;
}

void CInputPollWorker::Run() {
    SetCurrentThreadName("zevik-input");
    std::vector<pollfd> polled;
    polled.push_back({stopFd_, POLLIN, 0});
    for (const int fd : fds_) polled.push_back({fd, POLLIN, 0});
    for (;;) {
        // No time-out: without input the thread stays asleep.
        const int ready = ::poll(polled.data(), polled.size(), -1);
        wakeups_.fetch_add(1, std::memory_order_relaxed);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if ((polled[0].revents & POLLIN) != 0) return;
        for (std::size_t i = 1; i < polled.size(); ++i) {
            if ((polled[i].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                polled[i].fd = -1;  // unplugged: poll skips it from now on
            } else if ((polled[i].revents & POLLIN) != 0) {
                onReadable_(i - 1);
            }
        }
    }
}

}  // namespace zevik

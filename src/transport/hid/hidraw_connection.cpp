#include "transport/hid/hidraw_connection.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "platform/trace.h"

namespace zevik {

CHidrawConnection::CHidrawConnection(int fd, std::vector<uint8_t> descriptor, HidAttributes attributes)
    : fd_(fd), descriptor_(std::move(descriptor)), attributes_(attributes) {
    cancelFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (cancelFd_ < 0 && fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}

CHidrawConnection::~CHidrawConnection() {
    if (fd_ >= 0) close(fd_);
    if (cancelFd_ >= 0) close(cancelFd_);
}

HidIoStatus CHidrawConnection::Wait(short events, int timeoutMs) const {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int wait = timeoutMs;
        if (timeoutMs != kHidWaitForever) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            wait = left > 0 ? static_cast<int>(left) : 0;
        }
        pollfd fds[2] = {{cancelFd_, POLLIN, 0}, {fd_, events, 0}};
        const int ready = poll(fds, 2, wait);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return HidIoStatus::Failed;
        }
        if (fds[0].revents & POLLIN) return HidIoStatus::Cancelled;
        if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) return HidIoStatus::Failed;
        if (fds[1].revents & events) return HidIoStatus::Ok;
        if (ready == 0) return HidIoStatus::TimedOut;
    }
}

HidIoResult CHidrawConnection::Read(std::span<uint8_t> buffer, int timeoutMs) {
    if (!Valid()) return {HidIoStatus::Failed, 0};
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (;;) {
        int wait = timeoutMs;
        if (timeoutMs != kHidWaitForever) {
            const auto spent =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            wait = spent >= timeoutMs ? 0 : static_cast<int>(timeoutMs - spent);
        }
        const HidIoStatus status = Wait(POLLIN, wait);
        if (status != HidIoStatus::Ok) return {status, 0};
        const ssize_t n = read(fd_, buffer.data(), buffer.size());
        if (n > 0) return {HidIoStatus::Ok, static_cast<size_t>(n)};
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;  // another reader took it
        // 0 bytes: the node went away; an error: it failed.
        Trace("hidraw: read failed: " + std::to_string(n < 0 ? errno : 0));
        return {HidIoStatus::Failed, 0};
    }
}

HidIoResult CHidrawConnection::Write(std::span<const uint8_t> report, int timeoutMs) {
    if (!Valid()) return {HidIoStatus::Failed, 0};
    // The report goes as it is: hidraw takes the report id first, and a 0 there for a device
    // without report ids, which it strips.
    for (;;) {
        const HidIoStatus status = Wait(POLLOUT, timeoutMs);
        if (status != HidIoStatus::Ok) return {status, 0};
        const ssize_t n = write(fd_, report.data(), report.size());
        if (n >= 0) return {HidIoStatus::Ok, static_cast<size_t>(n)};
        if (errno == EAGAIN || errno == EINTR) continue;
        Trace("hidraw: write failed: " + std::to_string(errno));
        return {HidIoStatus::Failed, 0};
    }
}

HidIoResult CHidrawConnection::SetOutputReport(std::span<const uint8_t> report, int timeoutMs) {
    if (!Valid()) return {HidIoStatus::Failed, 0};
    if (!outputIoctlUnknown_.load(std::memory_order_relaxed)) {
        const int error = outputIoctl_(fd_, report);
        if (error == 0) return {HidIoStatus::Ok, report.size()};
        if (!IsUnknownIoctlError(error)) {
            Trace("hidraw: output report failed: " + std::to_string(error));
            return {HidIoStatus::Failed, 0};
        }
        outputIoctlUnknown_.store(true, std::memory_order_relaxed);
        Trace("hidraw: the kernel has no HIDIOCSOUTPUT (before Linux 5.11): output reports go by write()");
    }
    return Write(report, timeoutMs);
}

void CHidrawConnection::Cancel() {
    if (cancelFd_ < 0) return;
    const uint64_t one = 1;
    // The counter only grows; a failed write means it is already far from zero.
    [[maybe_unused]] const ssize_t n = write(cancelFd_, &one, sizeof one);
}

}  // namespace zevik

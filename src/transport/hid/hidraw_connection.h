#pragma once
// One open hidraw node. Reads wait with poll() on the node and on an eventfd that Cancel() signals;
// the eventfd is never drained, so a cancelled connection stays cancelled until it is destroyed.

#include <atomic>
#include <cstdint>
#include <vector>

#include "transport/hid/hid_backend.h"
#include "transport/hid/hidraw_output_ioctl.h"

namespace zevik {

class CHidrawConnection final : public IHidConnection {
public:
    // Takes ownership of fd (a hidraw node, or any descriptor that keeps report boundaries).
    // Valid() is false when the cancel eventfd could not be made; the fd is closed then too.
    CHidrawConnection(int fd, std::vector<uint8_t> descriptor, HidAttributes attributes);
    ~CHidrawConnection() override;
    CHidrawConnection(const CHidrawConnection&) = delete;
    CHidrawConnection& operator=(const CHidrawConnection&) = delete;

    bool Valid() const { return fd_ >= 0 && cancelFd_ >= 0; }

    std::vector<uint8_t> ReportDescriptor() const override { return descriptor_; }
    HidAttributes Attributes() const override { return attributes_; }
    HidIoResult Read(std::span<uint8_t> buffer, int timeoutMs) override;
    HidIoResult Write(std::span<const uint8_t> report, int timeoutMs) override;
    // HIDIOCSOUTPUT; a kernel that does not know it (before 5.11) gets the report by write(), which
    // hidraw sends on the interrupt OUT pipe or, without one, as SET_REPORT (said once in the trace).
    HidIoResult SetOutputReport(std::span<const uint8_t> report, int timeoutMs) override;
    void Cancel() override;

    // Replaces the ioctl (tests).
    void SetOutputIoctl(HidrawOutputIoctl ioctl) { outputIoctl_ = std::move(ioctl); }

private:
    // Waits until the node is ready for events, the connection is cancelled or the time runs out.
    HidIoStatus Wait(short events, int timeoutMs) const;

    int fd_ = -1;
    int cancelFd_ = -1;
    std::vector<uint8_t> descriptor_;
    HidAttributes attributes_;
    HidrawOutputIoctl outputIoctl_ = SystemHidrawOutputIoctl;
    std::atomic<bool> outputIoctlUnknown_{false};  // the kernel refused HIDIOCSOUTPUT once
};

}  // namespace zevik

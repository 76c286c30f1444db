#pragma once
// The ioctl through which an output report reaches a hidraw node as a control transfer
// (HIDIOCSOUTPUT, Linux 5.11 and later). A seam: tests put their own in its place to play both a
// kernel that knows the request and one that does not.

#include <cstdint>
#include <functional>
#include <span>

namespace zevik {

// 0 when the kernel took the report; otherwise the errno of the failure (ENOTTY or EINVAL from a
// kernel without HIDIOCSOUTPUT).
using HidrawOutputIoctl = std::function<int(int fd, std::span<const std::uint8_t> report)>;

// The real ioctl.
int SystemHidrawOutputIoctl(int fd, std::span<const std::uint8_t> report);

// True for the errors by which a kernel says it does not know the request.
bool IsUnknownIoctlError(int error);

}  // namespace zevik

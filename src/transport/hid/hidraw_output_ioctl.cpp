#include "transport/hid/hidraw_output_ioctl.h"

#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <vector>

namespace zevik {

int SystemHidrawOutputIoctl(int fd, std::span<const std::uint8_t> report) {
    // The kernel may write into the buffer (the request is read-write): give it a copy.
    std::vector<std::uint8_t> buffer(report.begin(), report.end());
    for (;;) {
        const int result = ioctl(fd, HIDIOCSOUTPUT(buffer.size()), buffer.data());
        if (result >= 0) return 0;
        if (errno != EINTR) return errno;
    }
}

bool IsUnknownIoctlError(int error) {
    return error == ENOTTY || error == EINVAL;
}

}  // namespace zevik

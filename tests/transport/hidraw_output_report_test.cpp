// Output reports as control transfers: HIDIOCSOUTPUT when the kernel knows it, write() when it does
// not (before Linux 5.11), and a plain failure for any other error.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "transport/hid/hidraw_connection.h"

namespace zevik {
namespace {

class HidrawOutputReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds), 0);
        device = fds[1];
        connection = std::make_unique<CHidrawConnection>(fds[0], std::vector<uint8_t>{}, HidAttributes{});
        ASSERT_TRUE(connection->Valid());
        connection->SetOutputIoctl([this](int, std::span<const uint8_t> sent) {
            ++ioctlCalls;
            ioctlReport.assign(sent.begin(), sent.end());
            return ioctlError;
        });
    }
    void TearDown() override { close(device); }

    // The report the device end received by write(), empty when none came.
    std::vector<uint8_t> Written() const {
        std::vector<uint8_t> buffer(64);
        const ssize_t n = read(device, buffer.data(), buffer.size());
        buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return buffer;
    }

    int device = -1;
    std::unique_ptr<CHidrawConnection> connection;
    int ioctlError = 0;
    int ioctlCalls = 0;
    std::vector<uint8_t> ioctlReport;
    const std::vector<uint8_t> report{0xFF, 0x22, 0xAA, 0, 1, 2, 3};
};

TEST_F(HidrawOutputReportTest, AKernelThatKnowsTheIoctlTakesTheReportThere) {
    const auto sent = connection->SetOutputReport(report, 100);
    EXPECT_EQ(sent.status, HidIoStatus::Ok);
    EXPECT_EQ(sent.bytes, report.size());
    EXPECT_EQ(ioctlReport, report);
    EXPECT_TRUE(Written().empty());
}

// The errors by which a kernel says it does not know the request.
class HidrawOlderKernelTest : public HidrawOutputReportTest, public ::testing::WithParamInterface<int> {};

TEST_P(HidrawOlderKernelTest, GetsTheReportByWriteFromThenOn) {
    ioctlError = GetParam();
    ASSERT_EQ(connection->SetOutputReport(report, 100).status, HidIoStatus::Ok);
    EXPECT_EQ(Written(), report);
    ASSERT_EQ(connection->SetOutputReport(report, 100).status, HidIoStatus::Ok);
    EXPECT_EQ(Written(), report);
    EXPECT_EQ(ioctlCalls, 1) << "the refused ioctl is not tried again";
}

INSTANTIATE_TEST_SUITE_P(UnknownRequest, HidrawOlderKernelTest, ::testing::Values(ENOTTY, EINVAL));

TEST_F(HidrawOutputReportTest, ADeviceThatRefusesTheTransferFailsWithoutAFallback) {
    ioctlError = EPIPE;  // the device stalled the control transfer
    EXPECT_EQ(connection->SetOutputReport(report, 100).status, HidIoStatus::Failed);
    EXPECT_TRUE(Written().empty());
    ioctlError = 0;
    EXPECT_EQ(connection->SetOutputReport(report, 100).status, HidIoStatus::Ok) << "the next one tries again";
}

}  // namespace
}  // namespace zevik

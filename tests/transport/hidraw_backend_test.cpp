#include "transport/hid/hidraw_backend.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "transport/hid/hidraw_connection.h"
#include "transport/hid_fake_backend.h"
#include "transport/hid_fake_sysfs.h"
#include "transport/hid_interface.h"

namespace zevik {
namespace {

using namespace std::chrono_literals;
using testing::FakeSysfs;
using testing::LoadHexDescriptor;

class HidrawEnumerationTest : public ::testing::Test {
protected:
    std::string Stem(int number) const {
        return "hidraw:" + (sysfs.Dev() / ("hidraw" + std::to_string(number))).string();
    }

    FakeSysfs sysfs;
    CHidrawBackend backend{sysfs.Sys(), sysfs.Dev()};
};

TEST_F(HidrawEnumerationTest, OnePathPerTopLevelCollectionInNodeOrder) {
    // A receiver node with four collections on interface 1, a keyboard on interface 0, a node that is
    // on no USB interface, and two nodes that cannot be described.
    sysfs.Add({10, 0x320F, 0x225B, LoadHexDescriptor("multi_collection_node.hex"), 1});
    sysfs.Add({2, 0x046D, 0xC31C, LoadHexDescriptor("boot_keyboard.hex"), 0});
    sysfs.Add({3, 0x1234, 0xABCD, LoadHexDescriptor("vendor_report_ids.hex"), std::nullopt});
    sysfs.Add({4, 0x320F, 0x225A, {0x05, 0x01, 0xA1}, 1});
    FakeSysfs::Node noIds{5, 0x320F, 0x225A, LoadHexDescriptor("boot_mouse.hex"), 0};
    noIds.writeUevent = false;
    sysfs.Add(noIds);

    std::vector<std::string> paths = {"stale"};
    ASSERT_TRUE(backend.Enumerate(paths));
    const std::vector<std::string> expected = {
        Stem(2) + "#vid_046d&pid_c31c&mi_00",        Stem(3) + "#vid_1234&pid_abcd",
        Stem(10) + "#vid_320f&pid_225b&mi_01&col01", Stem(10) + "#vid_320f&pid_225b&mi_01&col02",
        Stem(10) + "#vid_320f&pid_225b&mi_01&col03", Stem(10) + "#vid_320f&pid_225b&mi_01&col04",
    };
    EXPECT_EQ(paths, expected);
}

TEST_F(HidrawEnumerationTest, ChangeCountMovesWithHidrawNodesOnly) {
    const std::filesystem::path node = sysfs.Dev() / "hidraw9";
    struct Step {
        const char* what;
        std::function<void()> act;
        bool moves;
    };
    const Step steps[] = {
        {"nothing", [] {}, false},
        {"another kind of node", [&] { std::ofstream(sysfs.Dev() / "tty7") << ""; }, false},
        {"a hidraw node appears", [&] { std::ofstream(node) << ""; }, true},
        {"its rights change", [&] { std::filesystem::permissions(node, std::filesystem::perms::owner_read); },
         true},
        {"it goes", [&] { std::filesystem::remove(node); }, true},
    };
    std::optional<std::uint64_t> last = backend.ChangeCount();
    ASSERT_TRUE(last) << "the fake /dev root can be watched";
    for (const Step& step : steps) {
        step.act();
        const std::optional<std::uint64_t> now = backend.ChangeCount();
        ASSERT_TRUE(now) << step.what;
        EXPECT_EQ(*now != *last, step.moves) << step.what;
        last = now;
    }
}

TEST(HidrawChangeCount, NothingWhenTheRootCannotBeWatched) {
    CHidrawBackend backend("/nonexistent-sys", "/nonexistent-dev");
    EXPECT_FALSE(backend.ChangeCount());
}

TEST_F(HidrawEnumerationTest, NoHidrawClassIsAnEmptySystem) {
    std::filesystem::remove_all(sysfs.Sys() / "class" / "hidraw");
    std::vector<std::string> paths = {"stale"};
    EXPECT_TRUE(backend.Enumerate(paths));
    EXPECT_TRUE(paths.empty());
}

TEST_F(HidrawEnumerationTest, CHidInterfaceOpensAnEnumeratedCollection) {
    FakeSysfs::Node node{7, 0x320F, 0x225A, LoadHexDescriptor("multi_collection_node.hex"), 1};
    node.bcdDevice = "0217";
    sysfs.Add(node);
    CHidInterface hid(backend);
    ASSERT_TRUE(hid.EnumeratePaths());
    const std::string* path = nullptr;
    for (int i = 0; i < 4; ++i) path = hid.NextPath();
    ASSERT_NE(path, nullptr);
    ASSERT_TRUE(hid.Open(*path, true, true, true, false));
    EXPECT_EQ(hid.VendorId(), 0x320F);
    EXPECT_EQ(hid.ProductId(), 0x225A);
    EXPECT_EQ(hid.VersionNumber(), 0x0217);
    EXPECT_EQ(hid.UsagePage(), 0xFF1C);
    EXPECT_EQ(hid.Usage(), 0x92);
    EXPECT_EQ(hid.InterfaceNumber(), 1u);
    EXPECT_EQ(hid.CollectionNumber(), 4u);
    EXPECT_EQ(hid.InputReportLength(), 64);
}

TEST_F(HidrawEnumerationTest, OpenRefusesWhatIsNotAnOpenableNodeOfOurs) {
    sysfs.Add({1, 0x320F, 0x225A, LoadHexDescriptor("boot_mouse.hex"), 0});
    const std::string good = Stem(1) + "#vid_320f&pid_225a&mi_00";
    EXPECT_NE(backend.Open(good, true, true), nullptr);

    const std::string cases[] = {
        "emu:mouse#vid_320f&pid_225a&mi_00",                             // another backend's path
        "hidraw:/dev/hidraw1#vid_320f&pid_225a&mi_00",                   // outside our /dev root
        Stem(9) + "#vid_320f&pid_225a&mi_00",                            // no such node
        "hidraw:" + (sysfs.Dev() / "..").string() + "/dev/hidraw1#vid",  // not by its own name
    };
    for (const auto& path : cases) EXPECT_EQ(backend.Open(path, true, true), nullptr) << path;

    std::filesystem::remove(sysfs.Dev() / "hidraw1");  // unplugged between listing and opening
    EXPECT_EQ(backend.Open(good, true, true), nullptr);
}

// A connection over one end of a packet socket pair: the other end plays the device.
class HidrawConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
        device = fds[1];
        connection =
            std::make_unique<CHidrawConnection>(fds[0], std::vector<uint8_t>{1, 2}, HidAttributes{1, 2, 3});
        ASSERT_TRUE(connection->Valid());
    }
    void TearDown() override {
        if (device >= 0) close(device);
    }

    int device = -1;
    std::unique_ptr<CHidrawConnection> connection;
};

TEST_F(HidrawConnectionTest, ReadsOneReportAndTimesOutWhenNoneComes) {
    const uint8_t report[] = {4, 0xA1, 0xA2};
    ASSERT_EQ(write(device, report, sizeof report), 3);
    std::vector<uint8_t> buffer(64);
    const auto got = connection->Read(buffer, 1000);
    ASSERT_EQ(got.status, HidIoStatus::Ok);
    EXPECT_EQ(got.bytes, 3u);
    EXPECT_EQ(buffer[2], 0xA2);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(connection->Read(buffer, 50).status, HidIoStatus::TimedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 45ms);
}

TEST_F(HidrawConnectionTest, WriteSendsTheReportAsItIs) {
    const uint8_t report[] = {0, 0x10, 0x20};  // report id 0: hidraw strips it
    const auto sent = connection->Write(report, 1000);
    ASSERT_EQ(sent.status, HidIoStatus::Ok);
    EXPECT_EQ(sent.bytes, 3u);
    uint8_t received[8] = {};
    ASSERT_EQ(read(device, received, sizeof received), 3);
    EXPECT_EQ(received[1], 0x10);
}

TEST_F(HidrawConnectionTest, CancelEndsAWaitingReadAndEveryLaterTransfer) {
    std::vector<uint8_t> buffer(64);
    std::atomic<int> status{-1};
    std::thread reader([&] { status = static_cast<int>(connection->Read(buffer, kHidWaitForever).status); });
    std::this_thread::sleep_for(20ms);
    connection->Cancel();
    reader.join();
    EXPECT_EQ(status, static_cast<int>(HidIoStatus::Cancelled));

    const uint8_t report[] = {4, 1};
    ASSERT_EQ(write(device, report, sizeof report), 2);
    EXPECT_EQ(connection->Read(buffer, 100).status, HidIoStatus::Cancelled);
    EXPECT_EQ(connection->Write(report, 100).status, HidIoStatus::Cancelled);
}

TEST_F(HidrawConnectionTest, AVanishedDeviceFailsTheRead) {
    close(device);
    device = -1;
    std::vector<uint8_t> buffer(64);
    EXPECT_EQ(connection->Read(buffer, 1000).status, HidIoStatus::Failed);
}

}  // namespace
}  // namespace zevik

#include "transport/hid_interface.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "transport/hid_fake_backend.h"
#include "transport/hid_report_descriptor.h"

namespace zevik {
namespace {

using namespace std::chrono_literals;
using testing::FakeHidBackend;
using testing::LoadHexDescriptor;

const std::string kCommandPath = "hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col04";
const std::string kMousePath = "hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col01";

class HidInterfaceTest : public ::testing::Test {
protected:
    HidInterfaceTest() { backend.node.descriptor = LoadHexDescriptor("multi_collection_node.hex"); }

    std::vector<uint8_t> Report(uint8_t id, size_t length, uint8_t fill = 0x11) {
        std::vector<uint8_t> report(length, fill);
        report[0] = id;
        return report;
    }

    FakeHidBackend backend;
    CHidInterface hid{backend};
};

TEST_F(HidInterfaceTest, EnumerationWithNoInterfacesIsAnEmptyList) {
    EXPECT_TRUE(hid.EnumeratePaths());
    EXPECT_EQ(hid.NextPath(), nullptr);
}

TEST_F(HidInterfaceTest, EnumerationKeepsEveryReadablePathInOrderWithoutGaps) {
    for (int i = 0; i < 20; ++i) backend.enumeration.push_back(i == 7 ? "" : "path" + std::to_string(i));
    ASSERT_TRUE(hid.EnumeratePaths());
    std::vector<std::string> seen;
    while (const std::string* path = hid.NextPath()) seen.push_back(*path);
    ASSERT_EQ(seen.size(), 19u);
    EXPECT_EQ(seen.front(), "path0");
    EXPECT_EQ(seen[6], "path6");
    EXPECT_EQ(seen[7], "path8");
    EXPECT_EQ(seen.back(), "path19");
    EXPECT_EQ(hid.NextPath(), nullptr);

    // A new enumeration starts over; FreePaths empties the list.
    ASSERT_TRUE(hid.EnumeratePaths());
    ASSERT_NE(hid.NextPath(), nullptr);
    hid.FreePaths();
    EXPECT_EQ(hid.NextPath(), nullptr);
}

TEST_F(HidInterfaceTest, FailedEnumerationLeavesTheListEmpty) {
    backend.enumeration = {"a", "b"};
    ASSERT_TRUE(hid.EnumeratePaths());
    backend.enumerateOk = false;
    EXPECT_FALSE(hid.EnumeratePaths());
    EXPECT_EQ(hid.NextPath(), nullptr);
}

TEST_F(HidInterfaceTest, InterfaceAndCollectionNumbersComeFromThePath) {
    struct Case {
        std::string path;
        uint32_t interfaceNumber;
        uint32_t collectionNumber;
    };
    const Case cases[] = {
        {R"(\\?\hid#vid_320f&pid_225a&MI_01&Col03#7&1a2b&0&0002#{4d1e55b2})", 1, 3},
        {kCommandPath, 1, 4},
        {"hidraw:/dev/hidraw0#vid_320f&pid_225a&mi_0a&col02", 10, 2},
        {"hidraw:/dev/hidraw0#vid_320f&pid_225a", 0, 0},
        {"hidraw:/dev/hidraw0#vid_320f&pid_225a&mi_&col", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(hid.Open(c.path, true, true, true, false));
        EXPECT_EQ(hid.InterfaceNumber(), c.interfaceNumber);
        EXPECT_EQ(hid.CollectionNumber(), c.collectionNumber);
        EXPECT_EQ(hid.DevicePath(), c.path);
    }
}

TEST_F(HidInterfaceTest, OpenDescribesTheCollectionNamedByThePath) {
    ASSERT_TRUE(hid.Open(kCommandPath, true, true, true, false));
    EXPECT_TRUE(hid.IsOpen());
    EXPECT_EQ(hid.VendorId(), 0x320F);
    EXPECT_EQ(hid.ProductId(), 0x225A);
    EXPECT_EQ(hid.VersionNumber(), 0x0102);
    EXPECT_EQ(hid.UsagePage(), 0xFF1C);
    EXPECT_EQ(hid.Usage(), 0x92);
    EXPECT_EQ(hid.InputReportLength(), 64);
    EXPECT_EQ(hid.OutputReportLength(), 64);
    EXPECT_EQ(hid.FeatureReportLength(), 64);
    EXPECT_EQ(hid.InputReportBufferLength(), 64u);
    ASSERT_NE(hid.InputReportBuffer(), nullptr);

    ASSERT_TRUE(hid.Open(kMousePath, true, false, true, false));
    EXPECT_EQ(hid.UsagePage(), 0x01);
    EXPECT_EQ(hid.Usage(), 0x02);
    EXPECT_EQ(hid.InputReportLength(), 7);
    EXPECT_EQ(hid.OutputReportLength(), 0);
}

TEST_F(HidInterfaceTest, OpenFailuresLeaveTheObjectClosed) {
    // The node cannot be opened (no permission, gone).
    backend.node.openFails = true;
    EXPECT_FALSE(hid.Open(kCommandPath, true, true, true, false));
    EXPECT_FALSE(hid.IsOpen());

    // It opens, but its descriptor cannot be described: the connection is released again.
    backend.node.openFails = false;
    backend.node.descriptor = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75};
    EXPECT_FALSE(hid.Open(kCommandPath, true, true, true, false));
    EXPECT_FALSE(hid.IsOpen());
    EXPECT_EQ(backend.aliveConnections, 0);

    // The path names a collection the node lacks.
    backend.node.descriptor = LoadHexDescriptor("multi_collection_node.hex");
    EXPECT_FALSE(hid.Open("hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col05", true, true, true, false));
    EXPECT_EQ(backend.aliveConnections, 0);
    EXPECT_FALSE(hid.Read(hid.InputReportBuffer(), 64, nullptr, 0));
}

TEST_F(HidInterfaceTest, PathsThatDoNotFitThePathBufferAreRefused) {
    const std::string prefix = "hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col04#";
    const std::string fits = prefix + std::string(CHidInterface::kMaxPathLength - 1 - prefix.size(), 'x');
    const std::string tooLong = fits + "x";
    EXPECT_TRUE(hid.Open(fits, true, true, true, false));
    EXPECT_FALSE(hid.Open(tooLong, true, true, true, false));
    EXPECT_FALSE(hid.IsOpen());
    EXPECT_EQ(backend.lastOpenedPath, fits);  // the long path never reached the backend
    EXPECT_FALSE(hid.Reopen());               // nor does Reopen fall back to the older path
}

TEST_F(HidInterfaceTest, ReadTimesOutWithNothingTransferredAndTheNextReadStartsCleanly) {
    ASSERT_TRUE(hid.Open(kCommandPath, true, true, true, false));
    uint32_t transferred = 99;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(hid.Read(hid.InputReportBuffer(), 64, &transferred, 100));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 95ms);
    EXPECT_EQ(transferred, 0u);

    backend.line->Push(Report(4, 64, 0x5A));
    EXPECT_TRUE(hid.Read(hid.InputReportBuffer(), 64, &transferred, 100));
    EXPECT_EQ(transferred, 64u);
    EXPECT_EQ(hid.InputReportBuffer()[0], 4);
    EXPECT_EQ(hid.InputReportBuffer()[63], 0x5A);
}

TEST_F(HidInterfaceTest, ReadDropsReportsOfTheNodesOtherCollections) {
    ASSERT_TRUE(hid.Open(kCommandPath, true, true, true, false));
    backend.line->Push(Report(1, 7));  // the mouse collection's
    backend.line->Push(Report(3, 3));  // the consumer collection's
    backend.line->Push(Report(4, 64, 0x22));
    uint32_t transferred = 0;
    ASSERT_TRUE(hid.Read(hid.InputReportBuffer(), 64, &transferred, 1000));
    EXPECT_EQ(hid.InputReportBuffer()[0], 4);
    EXPECT_EQ(hid.InputReportBuffer()[1], 0x22);

    // Only foreign reports within the time-out: a time-out, not one of them.
    backend.line->Push(Report(1, 7));
    EXPECT_FALSE(hid.Read(hid.InputReportBuffer(), 64, &transferred, 50));
    EXPECT_EQ(transferred, 0u);
}

TEST_F(HidInterfaceTest, ShortReadLeavesTheRestOfTheBufferZero) {
    ASSERT_TRUE(hid.Open(kCommandPath, true, true, true, false));
    std::fill_n(hid.InputReportBuffer(), 64, 0xEE);
    backend.line->Push({4, 1, 2, 3});
    uint32_t transferred = 0;
    ASSERT_TRUE(hid.Read(hid.InputReportBuffer(), 64, &transferred, 1000));
    EXPECT_EQ(transferred, 64u);
    const uint8_t* buffer = hid.InputReportBuffer();
    EXPECT_EQ(buffer[3], 3);
    for (int i = 4; i < 64; ++i) ASSERT_EQ(buffer[i], 0) << "byte " << i;
}

TEST_F(HidInterfaceTest, ReportsOfANodeWithoutReportIdsGetIdZeroInFront) {
    backend.node.descriptor = LoadHexDescriptor("boot_mouse.hex");
    ASSERT_TRUE(hid.Open("hidraw:/dev/hidraw1#vid_046d&pid_c077", true, false, true, false));
    ASSERT_EQ(hid.InputReportLength(), 4);
    backend.line->Push({0x05, 0xFE, 0x02});
    uint32_t transferred = 0;
    ASSERT_TRUE(hid.Read(hid.InputReportBuffer(), 4, &transferred, 1000));
    EXPECT_EQ(transferred, 4u);
    EXPECT_EQ(std::vector<uint8_t>(hid.InputReportBuffer(), hid.InputReportBuffer() + 4),
              (std::vector<uint8_t>{0x00, 0x05, 0xFE, 0x02}));
}

TEST_F(HidInterfaceTest, WritePassesTheReportThroughAndFailsWhenClosed) {
    const std::vector<uint8_t> report = Report(4, 64, 0x33);
    uint32_t transferred = 0;
    EXPECT_FALSE(hid.Write(report.data(), 64, &transferred, 100));

    ASSERT_TRUE(hid.Open(kCommandPath, true, true, true, false));
    ASSERT_TRUE(hid.Write(report.data(), 64, &transferred, 100));
    EXPECT_EQ(transferred, 64u);
    ASSERT_EQ(backend.line->output.size(), 1u);
    EXPECT_EQ(backend.line->output[0], report);
}

TEST_F(HidInterfaceTest, CloseFromAnotherThreadEndsAnInfiniteReadPromptly) {
    ASSERT_TRUE(hid.Open(kCommandPath, true, true, true, false));
    std::vector<uint8_t> buffer(64);
    std::atomic<bool> result{true};
    std::thread reader([&] { result = hid.Read(buffer.data(), 64, nullptr, CHidInterface::kInfinite); });
    ASSERT_TRUE(backend.line->WaitForReader());
    const auto start = std::chrono::steady_clock::now();
    hid.Close();
    reader.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(result);
    EXPECT_FALSE(hid.IsOpen());
    EXPECT_EQ(backend.aliveConnections, 0);
}

TEST_F(HidInterfaceTest, ReopenWhileAReadAndAWriteArePendingCancelsBothAndFreesNothingEarly) {
    ASSERT_TRUE(hid.Open(kCommandPath, true, true, true, false));
    backend.line->writeBlocks = true;
    std::vector<uint8_t> in(64);
    const std::vector<uint8_t> out = Report(4, 64);
    std::atomic<bool> readResult{true};
    std::atomic<bool> writeResult{true};
    std::thread reader([&] { readResult = hid.Read(in.data(), 64, nullptr, CHidInterface::kInfinite); });
    std::thread writer([&] { writeResult = hid.Write(out.data(), 64, nullptr, CHidInterface::kInfinite); });
    ASSERT_TRUE(backend.line->WaitForReader());
    ASSERT_TRUE(backend.line->WaitForWriter());

    EXPECT_TRUE(hid.Reopen());  // returns only once both transfers have left the old connection
    reader.join();
    writer.join();
    EXPECT_FALSE(readResult);
    EXPECT_FALSE(writeResult);
    EXPECT_EQ(backend.aliveConnections, 1);

    // The new connection carries no leftover cancel.
    backend.line->writeBlocks = false;
    backend.line->Push(Report(4, 64));
    EXPECT_TRUE(hid.Read(in.data(), 64, nullptr, 1000));
    EXPECT_TRUE(hid.Write(out.data(), 64, nullptr, 1000));
}

TEST_F(HidInterfaceTest, CloseWithNothingInFlightCancelsNothing) {
    ASSERT_TRUE(hid.Open(kCommandPath, true, true, true, false));
    hid.Close();
    EXPECT_EQ(backend.line->cancels, 0);
    EXPECT_EQ(hid.DevicePath(), kCommandPath);  // kept for Reopen
    ASSERT_TRUE(hid.Reopen());
    backend.line->Push(Report(4, 64));
    EXPECT_TRUE(hid.Read(hid.InputReportBuffer(), 64, nullptr, 1000));
}

// One collection with two input reports: a consumer key selector (id 3) and a vendor report with two
// 8-bit values (id 5).
const std::vector<uint8_t> kTwoReportDescriptor = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,                                      //
    0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x07, 0x19, 0x00, 0x2A, 0xFF, 0x07,  //
    0x75, 0x10, 0x95, 0x01, 0x81, 0x00,                                      // id 3: 16-bit selector
    0x85, 0x05, 0x06, 0x00, 0xFF, 0x15, 0x00, 0x26, 0xFF, 0x00,              //
    0x19, 0x01, 0x29, 0x02, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02,              // id 5: usages 1, 2
    0xC0,
};

TEST_F(HidInterfaceTest, UnpackFillsTheEntriesOfTheCurrentReportOnly) {
    backend.node.descriptor = kTwoReportDescriptor;
    ASSERT_TRUE(hid.Open("hidraw:/dev/hidraw2#vid_320f&pid_225a&mi_01", true, false, true, false));
    const auto& fields = hid.InputFields();
    ASSERT_EQ(fields.size(), 3u);  // the selector's button entry, then a value entry per usage
    ASSERT_TRUE(fields[0].isButton);
    EXPECT_EQ(fields[0].usagePage, 0x0C);
    EXPECT_EQ(fields[0].usageMax, 0x7FF);
    EXPECT_EQ(fields[0].maxUsageListLength, 1u);
    EXPECT_EQ(fields[1].usage, 1);
    EXPECT_EQ(fields[2].usage, 2);

    const uint8_t consumer[] = {0x03, 0x01, 0x04};  // usage 0x401
    hid.UnpackInputReport(consumer, sizeof consumer);
    EXPECT_TRUE(fields[0].isSet);
    EXPECT_EQ(fields[0].usages[0], 0x401);
    EXPECT_EQ(fields[0].lastStatus, hid_status::kSuccess);
    EXPECT_FALSE(fields[1].isSet);

    const uint8_t vendor[] = {0x05, 0x7F, 0xC8};
    hid.UnpackInputReport(vendor, sizeof vendor);
    EXPECT_FALSE(fields[0].isSet) << "the consumer entry still claims its old usage 0x401";
    ASSERT_TRUE(fields[1].isSet);
    EXPECT_EQ(fields[1].rawValue, 0x7Fu);
    EXPECT_EQ(fields[2].rawValue, 0xC8u);
    EXPECT_EQ(fields[2].scaledValue, 0xC8);

    // A report id of no entry leaves the table as it was.
    const uint8_t foreign[] = {0x09, 0x00, 0x00};
    hid.UnpackInputReport(foreign, sizeof foreign);
    EXPECT_TRUE(fields[1].isSet);
    EXPECT_EQ(fields[2].rawValue, 0xC8u);

    // A key released: the selector is 0, "no event", and the usage list is empty.
    const uint8_t released[] = {0x03, 0x00, 0x00};
    hid.UnpackInputReport(released, sizeof released);
    EXPECT_TRUE(fields[0].isSet);
    EXPECT_EQ(fields[0].usages[0], 0);
}

TEST_F(HidInterfaceTest, UnpackOfTheMouseCollectionCompactsButtonsAndScalesValues) {
    ASSERT_TRUE(hid.Open(kMousePath, true, false, true, false));
    const auto& fields = hid.InputFields();
    // Buttons 1-5, then X, Y and the wheel.
    ASSERT_EQ(fields.size(), 4u);
    ASSERT_TRUE(fields[0].isButton);
    EXPECT_EQ(fields[0].maxUsageListLength, 5u);
    // A short report (the wheel byte missing) reads as if padded with zeros.
    const uint8_t report[] = {0x01, 0b10101, 0x34, 0x12, 0xFE, 0xFF};
    hid.UnpackInputReport(report, sizeof report);
    EXPECT_EQ(fields[0].usages, (std::vector<uint16_t>{1, 3, 5, 0, 0}));
    EXPECT_EQ(fields[1].usage, 0x30);
    EXPECT_EQ(fields[1].scaledValue, 0x1234);
    EXPECT_EQ(fields[2].scaledValue, -2);
    EXPECT_EQ(fields[2].rawValue, 0xFFFEu);
    EXPECT_TRUE(fields[3].isSet);
    EXPECT_EQ(fields[3].scaledValue, 0);
}

}  // namespace
}  // namespace zevik

// The emulated HID backend: paths, per-connection input copies, time-outs, cancel, plug and unplug,
// latency and the report hook.

#include "transport/hid/emulated_backend.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace zevik {
namespace {

using namespace std::chrono_literals;

// Answers every output report with a copy whose report id is 2 (its second collection).
class EchoNode final : public IEmulatedHidNode {
public:
    EchoNode(std::string name, size_t collections) : name_(std::move(name)), collections_(collections) {}
    std::string Name() const override { return name_; }
    HidAttributes Attributes() const override { return {0x320F, 0x225A, 0x0110}; }
    uint8_t InterfaceNumber() const override { return 1; }
    std::vector<uint8_t> ReportDescriptor() const override { return {0x06, 0x1C, 0xFF}; }
    std::vector<EmulatedCollection> Collections() const override {
        std::vector<EmulatedCollection> list;
        for (size_t i = 0; i < collections_; ++i)
            list.push_back({0xFF1C, 0x92, {static_cast<uint8_t>(i + 1)}});
        return list;
    }
    void OnOutputReport(std::span<const uint8_t> report, IEmulatedInputSink& sink) override {
        ++received;
        std::vector<uint8_t> answer(report.begin(), report.end());
        answer[0] = 2;
        sink.SendInput(answer);
    }
    std::atomic<int> received{0};

private:
    std::string name_;
    size_t collections_;
};

class EmulatedBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        node = std::make_shared<EchoNode>("dev", 2);
        ASSERT_TRUE(backend.AddNode(node));
    }
    std::unique_ptr<IHidConnection> OpenFirst() {
        return backend.Open(backend.PathsOf("dev").at(0), true, true);
    }

    CEmulatedBackend backend;
    std::shared_ptr<EchoNode> node;
};

TEST_F(EmulatedBackendTest, ListsOnePathPerCollectionInHidrawForm) {
    ASSERT_TRUE(backend.AddNode(std::make_shared<EchoNode>("single", 1)));
    std::vector<std::string> paths;
    ASSERT_TRUE(backend.Enumerate(paths));
    EXPECT_EQ(paths, (std::vector<std::string>{"emu:dev#vid_320f&pid_225a&mi_01&col01",
                                               "emu:dev#vid_320f&pid_225a&mi_01&col02",
                                               "emu:single#vid_320f&pid_225a&mi_01"}));
}

TEST_F(EmulatedBackendTest, RefusesBadNamesDuplicatesAndUnknownPaths) {
    EXPECT_FALSE(backend.AddNode(std::make_shared<EchoNode>("dev", 1)));
    EXPECT_FALSE(backend.AddNode(std::make_shared<EchoNode>("bad name", 1)));
    EXPECT_FALSE(backend.AddNode(std::make_shared<EchoNode>("", 1)));
    EXPECT_FALSE(backend.AddNode(std::make_shared<EchoNode>("none", 0)));
    for (const char* path : {"emu:other#vid_320f&pid_225a&mi_01", "emu:dev#vid_320f&pid_225a&mi_01&col03",
                             "hidraw:/dev/hidraw0", "emu:dev"}) {
        EXPECT_EQ(backend.Open(path, true, true), nullptr) << path;
    }
    EXPECT_NE(backend.Open("EMU:dev#VID_320F&pid_225a&MI_01&Col02", true, false), nullptr);
}

TEST_F(EmulatedBackendTest, EveryOpenConnectionGetsItsOwnCopyOfAnInputReport) {
    auto first = OpenFirst();
    auto second = backend.Open(backend.PathsOf("dev").at(1), true, false);
    const std::vector<uint8_t> request{1, 0xAB, 0xCD};
    ASSERT_EQ(first->Write(request, 100).status, HidIoStatus::Ok);
    for (IHidConnection* connection : {first.get(), second.get()}) {
        std::array<uint8_t, 8> buffer{};
        const HidIoResult result = connection->Read(buffer, 100);
        ASSERT_EQ(result.status, HidIoStatus::Ok);
        EXPECT_EQ(result.bytes, 3u);
        EXPECT_EQ(buffer[0], 2);
        EXPECT_EQ(buffer[2], 0xCD);
    }
}

TEST_F(EmulatedBackendTest, ReadTimesOutAndTheNextReadStartsClean) {
    auto connection = OpenFirst();
    std::array<uint8_t, 64> buffer{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(connection->Read(buffer, 30).status, HidIoStatus::TimedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
    ASSERT_EQ(connection->Write(std::vector<uint8_t>{1, 7}, 100).status, HidIoStatus::Ok);
    EXPECT_EQ(connection->Read(buffer, 100).status, HidIoStatus::Ok);
}

TEST_F(EmulatedBackendTest, TransfersNeedTheAccessTheyWereOpenedWith) {
    auto writeOnly = backend.Open(backend.PathsOf("dev").at(0), false, true);
    auto readOnly = backend.Open(backend.PathsOf("dev").at(0), true, false);
    std::array<uint8_t, 8> buffer{};
    EXPECT_EQ(writeOnly->Read(buffer, 0).status, HidIoStatus::Failed);
    EXPECT_EQ(readOnly->Write(std::vector<uint8_t>{1}, 0).status, HidIoStatus::Failed);
}

TEST_F(EmulatedBackendTest, CancelEndsAPendingEndlessReadAndEveryLaterTransfer) {
    auto connection = OpenFirst();
    auto reader = std::async(std::launch::async, [&] {
        std::array<uint8_t, 64> buffer{};
        return connection->Read(buffer, kHidWaitForever).status;
    });
    std::this_thread::sleep_for(20ms);
    connection->Cancel();
    ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(reader.get(), HidIoStatus::Cancelled);
    EXPECT_EQ(connection->Write(std::vector<uint8_t>{1}, 100).status, HidIoStatus::Cancelled);
}

TEST_F(EmulatedBackendTest, UnplugFailsPendingAndLaterTransfersUntilANewOpen) {
    auto connection = OpenFirst();
    auto reader = std::async(std::launch::async, [&] {
        std::array<uint8_t, 64> buffer{};
        return connection->Read(buffer, kHidWaitForever).status;
    });
    std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(backend.Unplug("dev"));
    ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(reader.get(), HidIoStatus::Failed);
    EXPECT_EQ(connection->Write(std::vector<uint8_t>{1}, 100).status, HidIoStatus::Failed);
    std::vector<std::string> paths;
    backend.Enumerate(paths);
    EXPECT_TRUE(paths.empty());
    EXPECT_EQ(OpenFirst(), nullptr);

    ASSERT_TRUE(backend.Plug("dev"));
    std::array<uint8_t, 64> buffer{};
    EXPECT_EQ(connection->Read(buffer, 0).status, HidIoStatus::Failed) << "an old connection stays dead";
    auto fresh = OpenFirst();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->Write(std::vector<uint8_t>{1}, 100).status, HidIoStatus::Ok);
    EXPECT_EQ(fresh->Read(buffer, 100).status, HidIoStatus::Ok);
}

TEST_F(EmulatedBackendTest, LatencyDelaysTheWriteAndTheAnswer) {
    ASSERT_TRUE(backend.SetLatency("dev", 5ms));
    auto connection = OpenFirst();
    std::array<uint8_t, 64> buffer{};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(connection->Write(std::vector<uint8_t>{1}, 100).status, HidIoStatus::Ok);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 5ms);
    ASSERT_EQ(connection->Read(buffer, 100).status, HidIoStatus::Ok);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 10ms) << "the answer spends its own time on the link";
    EXPECT_EQ(connection->Write(std::vector<uint8_t>{1}, 2).status, HidIoStatus::TimedOut);
}

TEST_F(EmulatedBackendTest, HookSeesBothDirectionsWithTheCollectionPaths) {
    std::vector<std::string> seen;
    std::mutex mutex;
    backend.SetReportHook(
        [&](EmulatedReportDirection direction, const std::string& path, std::span<const uint8_t> r) {
            std::lock_guard lock(mutex);
            seen.push_back((direction == EmulatedReportDirection::Out ? "OUT " : "IN ") + path + " " +
                           std::to_string(r.size()));
        });
    auto connection = OpenFirst();
    ASSERT_EQ(connection->Write(std::vector<uint8_t>{1, 2, 3, 4}, 100).status, HidIoStatus::Ok);
    EXPECT_EQ(seen, (std::vector<std::string>{"OUT emu:dev#vid_320f&pid_225a&mi_01&col01 4",
                                              "IN emu:dev#vid_320f&pid_225a&mi_01&col02 4"}));
}

TEST_F(EmulatedBackendTest, InputWithoutAnOpenConnectionIsLostAndUnreadReportsAreBounded) {
    const std::vector<uint8_t> report{2, 1};
    EXPECT_FALSE(backend.SendInput("dev", report));
    EXPECT_FALSE(backend.SendInput("nobody", report));
    auto connection = OpenFirst();
    for (int i = 0; i < 100; ++i) backend.SendInput("dev", std::vector<uint8_t>{2, static_cast<uint8_t>(i)});
    std::array<uint8_t, 8> buffer{};
    int count = 0;
    uint8_t last = 0;
    while (connection->Read(buffer, 0).status == HidIoStatus::Ok) {
        last = buffer[1];
        ++count;
    }
    EXPECT_EQ(count, 64);
    EXPECT_EQ(last, 63) << "newer reports are dropped when the queue is full, as hidraw does";
}

TEST(EmulatedBackendLifetime, ConnectionsOutliveTheBackendAndFail) {
    std::unique_ptr<IHidConnection> connection;
    {
        CEmulatedBackend backend;
        ASSERT_TRUE(backend.AddNode(std::make_shared<EchoNode>("dev", 1)));
        connection = backend.Open(backend.PathsOf("dev").at(0), true, true);
    }
    std::array<uint8_t, 8> buffer{};
    EXPECT_EQ(connection->Read(buffer, 10).status, HidIoStatus::Failed);
    EXPECT_EQ(connection->Write(std::vector<uint8_t>{1}, 10).status, HidIoStatus::Failed);
}

}  // namespace
}  // namespace zevik

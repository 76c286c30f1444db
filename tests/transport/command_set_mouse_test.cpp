// The command set end to end against the emulated mouse's firmware, by cable and through its receiver.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "emulator/emulation.h"
#include "emulator/fault_plan.h"
#include "transport/command_set.h"
#include "transport/device_catalogue.h"

namespace zevik::test {
namespace {

class MouseCommandTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        EmulationOptions options;
        options.list = "mouse@both";
        std::string error;
        emulation_ = CEmulation::Create(options, error);
        ASSERT_TRUE(emulation_) << error;
        channel_ = std::make_unique<CCommandChannel>(emulation_->Backend());
        ASSERT_TRUE(Connect(GetParam()));
    }

    // Opens the command interface of the mode as the device list does.
    bool Connect(int mode) {
        const bool receiver = mode == kConnectionReceiver;
        const CommandInterfaceRow* row = FindCommandInterface(receiver ? "mouse-receiver" : "mouse");
        for (const std::string& path : emulation_->EmulatedBackend().PathsOf(receiver ? "mouse-receiver" : "mouse")) {
            if (PathMatches(*row, path) && channel_->OpenConnection(path, mode)) return true;
        }
        return false;
    }

    CFaultPlan& Faults() { return emulation_->Model("mouse")->Faults(); }

    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<CCommandChannel> channel_;
};

TEST_P(MouseCommandTest, SettingsBlockWriteReadsBack) {
    std::vector<uint8_t> block(94);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(200 - i);
    ASSERT_EQ(BeginConfig(*channel_), kResultDone);
    ASSERT_EQ(WriteMemory(*channel_, block, 128), kResultDone);
    ASSERT_EQ(EndConfig(*channel_), kResultDone);

    std::vector<uint8_t> readBack(94);
    ASSERT_EQ(ReadMemory(*channel_, readBack, 128), kResultDone);
    EXPECT_EQ(readBack, block);
}

TEST_P(MouseCommandTest, DeviceInfoAndStatus) {
    std::array<uint8_t, kDeviceInfoSize> info{};
    ASSERT_EQ(ReadDeviceInfo(*channel_, info), kResultDone);
    EXPECT_GT(info[5], 0);  // physical keys
    EXPECT_GT(info[6], 0);  // macro memory in 128-byte units
    std::array<uint8_t, 6> status{};
    EXPECT_EQ(ReadStatus(*channel_, status, 6, 0), kResultDone);
    EXPECT_TRUE(QueryReceiverLink(*channel_));
}

TEST_P(MouseCommandTest, LightingFramePassesTheDevicesCheck) {
    std::vector<uint8_t> frame(45, 0x40);
    EXPECT_EQ(StreamLights(*channel_, frame), kResultDone);
}

// Faults of the device map onto the results the device code acts on.
TEST_P(MouseCommandTest, DeviceFaultsGiveTheirResults) {
    struct Case { EmulatedFault fault; int expected; };
    for (const Case c : {Case{EmulatedFault::StatusFailed, kResultStatusFailed},
                         Case{EmulatedFault::StatusRejected, kResultStatusRejected},
                         Case{EmulatedFault::UnplugDuringTransfer, kResultNoAnswer}}) {
        Faults().Arm(c.fault, 1, vendor::kCmdWriteMemory);
        std::vector<uint8_t> data(10, 1);
        EXPECT_EQ(WriteMemory(*channel_, data, 128), c.expected) << static_cast<int>(c.fault);
        Faults().Clear();
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, MouseCommandTest, ::testing::Values(kConnectionCable, kConnectionReceiver),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return std::string(p.param == kConnectionReceiver ? "Receiver" : "Cable");
                         });

class MouseReceiverTest : public MouseCommandTest {};

TEST_P(MouseReceiverTest, OutOfRangeIsReceiverCannotServe) {
    emulation_->Model("mouse")->SetInRange(false);
    EXPECT_EQ(BeginConfig(*channel_), kResultReceiverCannotServe);
    EXPECT_FALSE(QueryReceiverLink(*channel_));
    emulation_->Model("mouse")->SetInRange(true);
    EXPECT_TRUE(QueryReceiverLink(*channel_));
    EXPECT_EQ(BeginConfig(*channel_), kResultDone);
}

TEST_P(MouseReceiverTest, BadCrcOnTheLightingStreamIsReceiverCannotServe) {
    Faults().Arm(EmulatedFault::BadCrc, 1, vendor::kCmdStreamLights);
    std::vector<uint8_t> frame(20, 0x11);
    EXPECT_EQ(StreamLights(*channel_, frame), kResultReceiverCannotServe);
}

INSTANTIATE_TEST_SUITE_P(Modes, MouseReceiverTest, ::testing::Values(kConnectionReceiver));

}  // namespace
}  // namespace zevik::test

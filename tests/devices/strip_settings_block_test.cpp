// The LED-strip settings block: its layout both ways, and reading and writing it over a channel
// (the mirror, the read before a first write, failures).

#include "devices/strip_block_port.h"
#include "devices/strip_settings_block.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "transport/channel_fixture.h"

namespace zevik::test {
namespace {

const std::vector<int> kModeList{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18};

std::array<std::uint8_t, StripSettingsBlock::kReadSize> ReadBytes() {
    std::array<std::uint8_t, StripSettingsBlock::kReadSize> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(0x80 + i);
    bytes[StripSettingsBlock::kSlot] = 2;
    bytes[StripSettingsBlock::kMode] = 0x13;
    bytes[StripSettingsBlock::kSpeed] = 3;  // speed level 1
    return bytes;
}

TEST(StripSettingsBlockTest, ReadTurnsCodeAndSpeedIntoLevels) {
    const StripSettingsBlock block = StripSettingsBlock::FromRead(ReadBytes(), kModeList);
    EXPECT_EQ(block[StripSettingsBlock::kMode], 3);
    EXPECT_EQ(block[StripSettingsBlock::kSpeed], 1);
    EXPECT_EQ(block[StripSettingsBlock::kDirection], 0x84);
    EXPECT_EQ(block.Data().size(), 24u);
    EXPECT_EQ(block[23], 0x80 + 23);
}

TEST(StripSettingsBlockTest, UnknownModeCodeIsKeptBothWays) {
    auto bytes = ReadBytes();
    bytes[StripSettingsBlock::kMode] = 0x42;
    const StripSettingsBlock block = StripSettingsBlock::FromRead(bytes, kModeList);
    EXPECT_EQ(block[StripSettingsBlock::kMode], 0x42);
    EXPECT_EQ(block.ToWire(kModeList)[StripSettingsBlock::kMode], 0x42);
}

TEST(StripSettingsBlockTest, WireCarriesCodeInvertedSpeedAndKeptBytes) {
    StripSettingsBlock block = StripSettingsBlock::FromRead(ReadBytes(), kModeList);
    LightInfoRecord light;
    light.selectItem = 7;
    light.light = 2;
    light.speed = 1;
    light.fx = 1;
    light.multiColor = 1;
    light.red = 9;
    light.green = 8;
    light.blue = 7;
    block.TakeLighting(light);
    const StripSettingsBlock::Wire wire = block.ToWire(kModeList);
    const std::array<std::uint8_t, 9> head{2, 0x17, 2, 3, 1, 1, 9, 8, 7};
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(wire[i], head[i]) << "byte " << i;
    for (size_t i = StripSettingsBlock::kKeptFirst; i <= StripSettingsBlock::kKeptLast; ++i)
        EXPECT_EQ(wire[i], 0x80 + i) << "byte " << i;
    // The mirror keeps the levels, not the wire's codes.
    EXPECT_EQ(block[StripSettingsBlock::kSpeed], 1);
    EXPECT_EQ(block[StripSettingsBlock::kMode], 7);
}

TEST(StripSettingsBlockTest, AddressesOfSlots) {
    EXPECT_EQ(StripSettingsBlock::ReadAddress(3), 99);
    EXPECT_EQ(StripSettingsBlock::WriteAddress(3), 192);
    EXPECT_FALSE(StripSettingsBlock::ReadAddress(-1));
    EXPECT_FALSE(StripSettingsBlock::WriteAddress(1024));
}

// A pad whose memory holds the block of slot 2 at 66; failures are armed per command.
class StripBlockPortTest : public ChannelTest {
protected:
    void SetUp() override {
        memory_.fill(0);
        const auto bytes = ReadBytes();
        memory_[0] = 2;
        std::copy(bytes.begin(), bytes.end(), memory_.begin() + 66);
        node_->SetResponder([this](const Report& request, size_t) {
            Report answer = DefaultAnswer(request);
            const std::uint8_t command = request[vendor::kOffsetCommand];
            if (command == failing_) {
                answer[vendor::kOffsetStatus] = 0xFF;
                return std::vector{answer};
            }
            const unsigned address = request[vendor::kOffsetAddressLow] | (request[vendor::kOffsetAddressHigh] << 8);
            const unsigned length = request[vendor::kOffsetLength];
            if (command == vendor::kCmdReadMemory)
                std::copy_n(memory_.begin() + address, length, answer.begin() + vendor::kOffsetPayload);
            if (command == vendor::kCmdWriteMemory)
                std::copy_n(request.begin() + vendor::kOffsetPayload, length, memory_.begin() + address);
            return std::vector{answer};
        });
        Connect();
    }

    std::vector<std::uint8_t> Commands() const {
        std::vector<std::uint8_t> commands;
        for (const Report& r : node_->Requests()) commands.push_back(r[vendor::kOffsetCommand]);
        return commands;
    }

    LightInfoRecord Light() const {
        LightInfoRecord light;
        light.selectItem = 1;
        light.light = 4;
        light.speed = 1;
        light.fx = 1;
        light.red = 200;
        return light;
    }

    std::array<std::uint8_t, 512> memory_{};
    std::uint8_t failing_ = 0;
    CStripBlockPort port_{channel_};
};

TEST_F(StripBlockPortTest, FirstWriteReadsTheBlockAndKeepsTheDevicesBytes) {
    ASSERT_EQ(port_.Write(0, Light(), kModeList), kResultDone);
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{0x05, 0x05, 0x01, 0x06, 0x02}));
    EXPECT_EQ(memory_[0], 2);                          // byte 0 from the device
    EXPECT_EQ(memory_[1], 0x11);                       // mode code of number 1
    EXPECT_EQ(memory_[3], 3);                          // speed level 1 sent as 3
    EXPECT_EQ(memory_[4], 1);                          // the direction
    EXPECT_EQ(memory_[6], 200);
    for (unsigned i = 9; i <= 20; ++i) EXPECT_EQ(memory_[i], 0x80 + i) << "byte " << i;
    EXPECT_EQ(memory_[21], 0);  // 21 bytes, no more
    EXPECT_EQ(port_.Mirror()[StripSettingsBlock::kSpeed], 1);

    node_->ClearRequests();
    ASSERT_EQ(port_.Write(0, Light(), kModeList), kResultDone);
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{0x01, 0x06, 0x02}));
}

TEST_F(StripBlockPortTest, WritesAtSlotTimesSixtyFour) {
    ASSERT_EQ(port_.Write(1, Light(), kModeList), kResultDone);
    EXPECT_EQ(memory_[64 + 1], 0x11);
    EXPECT_EQ(memory_[64 + 15], 0x80 + 15);
}

TEST_F(StripBlockPortTest, FailedReadWritesNothingAndKeepsTheMirror) {
    int slot = 0;
    ASSERT_EQ(port_.Read(kModeList, slot), kResultDone);
    EXPECT_EQ(slot, 2);
    const StripSettingsBlock before = port_.Mirror();
    memory_[66 + 4] = 0x55;
    failing_ = vendor::kCmdReadMemory;
    EXPECT_EQ(port_.Read(kModeList, slot), kResultStatusFailed);
    EXPECT_EQ(port_.Mirror().Data(), before.Data());

    CStripBlockPort fresh(channel_);
    node_->ClearRequests();
    EXPECT_EQ(fresh.Write(0, Light(), kModeList), kResultStatusFailed);
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{0x05}));
}

TEST_F(StripBlockPortTest, WriteReturnsTheFirstFailureAndStillEndsTheFrame) {
    int slot = 0;
    ASSERT_EQ(port_.Read(kModeList, slot), kResultDone);
    for (const std::uint8_t command : {vendor::kCmdBeginConfig, vendor::kCmdWriteMemory, vendor::kCmdEndConfig}) {
        failing_ = command;
        node_->ClearRequests();
        EXPECT_EQ(port_.Write(0, Light(), kModeList), kResultStatusFailed) << int(command);
        const std::vector<std::uint8_t> commands = Commands();
        ASSERT_FALSE(commands.empty());
        EXPECT_EQ(commands.back(), 0x02) << int(command);
        EXPECT_EQ(commands.size(), command == vendor::kCmdBeginConfig ? 2u : 3u) << int(command);
    }
}

TEST_F(StripBlockPortTest, ClosedChannelSendsNothing) {
    channel_.CloseConnections();
    node_->ClearRequests();
    int slot = 0;
    EXPECT_EQ(port_.Read(kModeList, slot), kResultNoAnswer);
    EXPECT_EQ(port_.Write(0, Light(), kModeList), kResultNoAnswer);
    EXPECT_TRUE(Commands().empty());
}

}  // namespace
}  // namespace zevik::test

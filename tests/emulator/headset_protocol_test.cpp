// The emulated headset at the level of reports: one collection on interface 3 carrying its keys,
// the command reports and the LED reports; only a command report is answered; LED reports land in
// "leds"; the sound card's mixer is an area no command reaches.

#include <gtest/gtest.h>

#include <optional>

#include "emulator/emulation.h"
#include "emulator/headset_model.h"
#include "transport/headset_led_report.h"
#include "transport/command_channel.h"
#include "transport/command_set.h"
#include "transport/hid_interface.h"
#include "transport/vendor_report.h"

namespace zevik::test {
namespace {

constexpr const char* kHeadsetPath = "emu:headset#vid_0c76&pid_1630&mi_03";

class HeadsetProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        EmulationOptions options;
        options.list = "headset";
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        headset = dynamic_cast<CHeadsetModel*>(emulation->Model("headset"));
        ASSERT_NE(headset, nullptr);
        connection = emulation->Backend().Open(kHeadsetPath, true, true);
        ASSERT_NE(connection, nullptr);
    }

    // The next input report within the time, nullopt when none.
    std::optional<std::vector<uint8_t>> NextInput(int timeoutMs = 100) {
        std::vector<uint8_t> buffer(64);
        const HidIoResult result = connection->Read(buffer, timeoutMs);
        if (result.status != HidIoStatus::Ok) return std::nullopt;
        buffer.resize(result.bytes);
        return buffer;
    }

    std::unique_ptr<CEmulation> emulation;
    CHeadsetModel* headset = nullptr;
    std::unique_ptr<IHidConnection> connection;
};

TEST_F(HeadsetProtocolTest, ListsOneCollectionOnInterfaceThreeWithoutACollectionNumber) {
    std::vector<std::string> paths;
    ASSERT_TRUE(emulation->Backend().Enumerate(paths));
    EXPECT_EQ(paths, std::vector<std::string>{kHeadsetPath});

    CHidInterface hid(emulation->Backend());
    ASSERT_TRUE(hid.Open(kHeadsetPath, true, true, true, false));
    EXPECT_EQ(hid.UsagePage(), 0x0C);
    EXPECT_EQ(hid.Usage(), 0x01);
    EXPECT_EQ(hid.InterfaceNumber(), 3u);
    EXPECT_EQ(hid.InputReportLength(), vendor::kReportSize);
    EXPECT_EQ(hid.OutputReportLength(), vendor::kReportSize);
}

TEST_F(HeadsetProtocolTest, AnswersACommandReportOnly) {
    vendor::Report request = vendor::MakeRequest(vendor::kCmdReadStatus);
    request[vendor::kOffsetLength] = 6;
    vendor::StoreChecksum(request);
    ASSERT_EQ(connection->Write(request, 100).status, HidIoStatus::Ok);
    const auto answer = NextInput();
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ((*answer)[0], vendor::kReportId);
    EXPECT_EQ((*answer)[vendor::kOffsetCommand], vendor::kCmdReadStatus);
    EXPECT_EQ((*answer)[vendor::kOffsetStatus], 0);

    const auto report = headset_led::MakeReport(headset_led::kGroupA, headset_led::kRedLow, {});
    ASSERT_EQ(connection->Write(report, 100).status, HidIoStatus::Ok);
    EXPECT_FALSE(NextInput(50).has_value()) << "an LED report is not answered";
}

TEST_F(HeadsetProtocolTest, LedReportsSetTheirGroupsChannelOfTheirLeds) {
    namespace L = headset_led;
    std::vector<L::LedLevels> leds(L::kLedCount);
    for (int i = 0; i < L::kLedCount; ++i) {
        leds[static_cast<size_t>(i)] = {static_cast<uint8_t>(10 + i), static_cast<uint8_t>(100 + i),
                                        static_cast<uint8_t>(200 + i)};
    }
    // Only group 0x44's green of LEDs 7-12, then the whole frame.
    ASSERT_EQ(connection->SetOutputReport(L::MakeReport(L::kGroupB, L::kGreenHigh, leds), 100).status,
              HidIoStatus::Ok);
    std::vector<uint8_t> area = headset->ReadArea("leds");
    ASSERT_EQ(area.size(), CHeadsetModel::kLedsSize);
    EXPECT_EQ(area[CHeadsetModel::kLedGroupSize + 3 * 7 + 1], 107);
    EXPECT_EQ(area[CHeadsetModel::kLedGroupSize + 3 * 12 + 1], 112);
    EXPECT_EQ(area[CHeadsetModel::kLedGroupSize + 3 * 6 + 1], 0) << "LED 6 is another block's";
    EXPECT_EQ(area[3 * 7 + 1], 0) << "group 0x22 untouched";

    for (const L::Report& report : L::MakeFrame(leds)) {
        ASSERT_EQ(connection->SetOutputReport(report, 100).status, HidIoStatus::Ok);
    }
    area = headset->ReadArea("leds");
    for (size_t group = 0; group < 2; ++group) {
        for (int i = 0; i < L::kLedCount; ++i) {
            const size_t at = group * CHeadsetModel::kLedGroupSize + 3 * static_cast<size_t>(i);
            EXPECT_EQ(area[at], 10 + i) << group << " " << i;
            EXPECT_EQ(area[at + 1], 100 + i);
            EXPECT_EQ(area[at + 2], std::min(200 + i, int{L::kMaxLevel}));
        }
    }
    EXPECT_EQ(headset->ReadArea("led_reports"), (std::vector<uint8_t>{13, 0, 0, 0}));
}

TEST_F(HeadsetProtocolTest, IgnoresAnLedReportOfAnUnknownGroupOrBlock) {
    namespace L = headset_led;
    const std::vector<L::LedLevels> leds(L::kLedCount, L::LedLevels{200, 200, 200});
    L::Report badGroup = L::MakeReport(L::kGroupA, L::kRedLow, leds);
    badGroup[L::kOffsetGroup] = 0x33;
    L::Report badBlock = L::MakeReport(L::kGroupA, L::kRedLow, leds);
    badBlock[L::kOffsetBlock] = 0xA9;
    for (const auto& report : {badGroup, badBlock}) {
        ASSERT_EQ(connection->SetOutputReport(report, 100).status, HidIoStatus::Ok);
    }
    EXPECT_EQ(headset->ReadArea("leds"), std::vector<uint8_t>(CHeadsetModel::kLedsSize, 0));
    EXPECT_EQ(headset->ReadArea("led_reports"), std::vector<uint8_t>(4, 0));
}

TEST_F(HeadsetProtocolTest, SendsItsKeysWithReportIdOne) {
    std::string error;
    ASSERT_TRUE(emulation->Notify("headset", 0xE9, error)) << error;  // volume up
    const auto key = NextInput();
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(*key, (std::vector<uint8_t>{1, 0xE9, 0x00}));
}

TEST_F(HeadsetProtocolTest, KeepsTheMixerInAnAreaOfItsOwn) {
    EXPECT_EQ(headset->ReadArea("mixer"), CHeadsetModel::FactoryMixer());
    const uint8_t level[] = {42};
    ASSERT_TRUE(headset->WriteArea("mixer", 2, level));
    EXPECT_EQ(headset->ReadArea("mixer")[2], 42);
}

}  // namespace
}  // namespace zevik::test

namespace zevik::test {
namespace {

// Key presses that arrive while the command channel waits for an answer are no answer and do not
// use up its reads.
TEST_F(HeadsetProtocolTest, KeyReportsDoNotCostTheChannelItsAnswer) {
    CCommandChannel channel(emulation->Backend());
    ASSERT_TRUE(channel.OpenConnection(kHeadsetPath, kConnectionCable));
    std::string error;
    for (const uint16_t key : {0xE9, 0x00, 0xEA}) ASSERT_TRUE(emulation->Notify("headset", key, error)) << error;
    std::vector<uint8_t> status(6, 0);
    EXPECT_EQ(ReadStatus(channel, status, 6, 0), kResultDone);
}

}  // namespace
}  // namespace zevik::test

// The mouse firmware at the level of 64-byte reports: answers, chunked memory, checksum and CRC
// checks, injected faults, the receiver's link, status bytes and notifications.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/hex_text.h"
#include "mouse_fixture.h"

namespace zevik::test {
namespace {

using namespace vendor;

class MouseProtocolTest : public MouseFixture {};

struct AnswerCase {
    const char* what;
    uint8_t command;
    uint8_t length;
    uint16_t address;
    uint8_t status;
};

TEST_F(MouseProtocolTest, AnswersEchoTheCommandAndParametersWithAStatus) {
    const AnswerCase cases[] = {
        {"begin configuration", kCmdBeginConfig, 0, 0, 0x00},
        {"end configuration", kCmdEndConfig, 0, 0, 0x00},
        {"light control notice", kCmdNotifyLightControl, 0, 0, 0x00},
        {"device information whole", kCmdReadDeviceInfo, 34, 0, 0x00},
        {"device information second receiver chunk", kCmdReadDeviceInfo, 10, 24, 0x00},
        {"device information past its end", kCmdReadDeviceInfo, 24, 24, 0xFF},
        {"memory last byte", kCmdReadMemory, 1, 2047, 0x00},
        {"memory past its end", kCmdReadMemory, 2, 2047, 0xFF},
        {"memory empty chunk", kCmdReadMemory, 0, 0, 0xFF},
        {"memory chunk above 56 bytes", kCmdReadMemory, 57, 0, 0xFF},
        {"key table", kCmdReadKeyTable, 36, 0, 0x00},
        {"status", kCmdReadStatus, 6, 0, 0x00},
        {"a command the mouse does not know", 0x30, 0, 0, 0xFF},
        {"key colours are the keyboard's", kCmdWriteKeyColors, 8, 0, 0xFF},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Report request = Request(c.command, c.length, c.address);
        const auto answer = Exchange(*cable, request);
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ((*answer)[kOffsetReportId], kReportId);
        EXPECT_EQ((*answer)[kOffsetCommand], c.command);
        EXPECT_EQ((*answer)[kOffsetLength], c.length);
        EXPECT_EQ((*answer)[kOffsetAddressLow], request[kOffsetAddressLow]);
        EXPECT_EQ((*answer)[kOffsetAddressHigh], request[kOffsetAddressHigh]);
        EXPECT_EQ((*answer)[kOffsetStatus], c.status);
        EXPECT_TRUE(ChecksumMatches(*answer));
    }
}

TEST_F(MouseProtocolTest, FactoryContentsDescribeTwelveKeysAndSixStages) {
    const auto info = Exchange(*cable, Request(kCmdReadDeviceInfo, 34, 0));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ((*info)[kOffsetPayload + 5], 12) << "physical keys";
    EXPECT_EQ((*info)[kOffsetPayload + 6], 16) << "macro memory in 128-byte units";
    EXPECT_EQ(mouse->ReadArea("macro").size(), 16u * 128u);

    const auto keys = Exchange(*cable, Request(kCmdReadKeyTable, 36, 0));
    ASSERT_TRUE(keys.has_value());
    EXPECT_EQ(FormatHexBytes(std::span<const uint8_t>(*keys).subspan(kOffsetPayload, 6), " "),
              "10 01 00 10 02 00");

    const auto memory = Memory();
    EXPECT_EQ(memory[0], 0) << "active slot";
    EXPECT_EQ(memory[MouseBlock::kActiveStage], 2);
    const size_t stage5 = 5 * MouseBlock::kStride + MouseBlock::kStages + 5 * MouseBlock::kStageSize;
    EXPECT_EQ(memory[stage5 + 2] | (memory[stage5 + 3] << 8), 12800);
    EXPECT_EQ(memory[5 * MouseBlock::kStride], 5) << "each block names its slot";
}

TEST_F(MouseProtocolTest, BlockWrittenInCableChunksReadsBackInReceiverChunks) {
    std::vector<uint8_t> block(MouseBlock::kSize);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(0xA0 + i);
    const uint16_t base = 5 * MouseBlock::kStride;
    const auto before = Memory();
    for (size_t offset = 0; offset < block.size(); offset += kMaxPayload) {
        const size_t length = std::min(kMaxPayload, block.size() - offset);
        const auto answer =
            Exchange(*cable, Request(kCmdWriteMemory, static_cast<uint8_t>(length),
                                     static_cast<uint16_t>(base + offset),
                                     std::span<const uint8_t>(block).subspan(offset, length)));
        ASSERT_TRUE(answer.has_value());
        ASSERT_EQ((*answer)[kOffsetStatus], 0);
    }
    std::vector<uint8_t> readBack;
    for (size_t offset = 0; offset < block.size(); offset += 24) {
        const size_t length = std::min<size_t>(24, block.size() - offset);
        const auto answer = Exchange(*receiver, Request(kCmdReadMemory, static_cast<uint8_t>(length),
                                                        static_cast<uint16_t>(base + offset)));
        ASSERT_TRUE(answer.has_value());
        ASSERT_EQ((*answer)[kOffsetStatus], 0);
        readBack.insert(readBack.end(), answer->begin() + kOffsetPayload,
                        answer->begin() + static_cast<std::ptrdiff_t>(kOffsetPayload + length));
    }
    EXPECT_EQ(readBack, block);
    const auto after = Memory();
    EXPECT_EQ(after[base - 1], before[base - 1]);
    EXPECT_EQ(after[base + MouseBlock::kSize], before[base + MouseBlock::kSize]);
}

TEST_F(MouseProtocolTest, WrongChecksumIsAnsweredWithStatusFFAndChangesNothing) {
    const std::vector<uint8_t> payload{0x11, 0x22};
    Report request = Request(kCmdWriteMemory, 2, 300, payload);
    request[kOffsetChecksumLow] ^= 0x01;
    const auto answer = Exchange(*cable, request);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ((*answer)[kOffsetCommand], kCmdWriteMemory);
    EXPECT_EQ((*answer)[kOffsetStatus], kStatusFailed);
    EXPECT_EQ(Memory()[300], CMouseModel::FactoryBlock(2)[300 - 256]);

    Report read = Request(kCmdReadDeviceInfo, 34, 0);
    read[kOffsetChecksumHigh] ^= 0x80;
    const auto readAnswer = Exchange(*cable, read);
    ASSERT_TRUE(readAnswer.has_value());
    EXPECT_EQ((*readAnswer)[kOffsetStatus], kStatusFailed);
    EXPECT_EQ((*readAnswer)[kOffsetPayload + 5], 0) << "no data with a refused request";
}

TEST_F(MouseProtocolTest, KeyTableAndMacroAndRecoilWritesLandInTheirAreas) {
    const std::vector<uint8_t> triple{0x10, 0x04, 0x00};
    ASSERT_EQ((*Exchange(*cable, Request(kCmdWriteKeyTable, 3, 0, triple)))[kOffsetStatus], 0);
    ASSERT_EQ((*Exchange(*cable, Request(kCmdWriteMacroImage, 3, 2040, triple)))[kOffsetStatus], 0);
    ASSERT_EQ((*Exchange(*cable, Request(kCmdWriteRecoilData, 3, 4, triple)))[kOffsetStatus], 0);
    EXPECT_EQ(mouse->ReadArea("key_table")[1], 0x04);
    EXPECT_EQ(mouse->ReadArea("key_codes"), CMouseModel::FactoryKeyTable()) << "the factory codes are never written";
    EXPECT_EQ(mouse->ReadArea("macro")[2041], 0x04);
    EXPECT_EQ(mouse->ReadArea("recoil")[5], 0x04);
    EXPECT_EQ((*Exchange(*cable, Request(kCmdWriteMacroImage, 3, 2046, triple)))[kOffsetStatus],
              kStatusFailed)
        << "the macro memory ends at 16 x 128 bytes";
}

struct FaultCase {
    const char* what;
    EmulatedFault fault;
    bool answered;
    bool takesEffect;
};

TEST_F(MouseProtocolTest, InjectedFaultsShowInTheNextAnswerOnly) {
    const FaultCase cases[] = {
        {"no answer", EmulatedFault::NoAnswer, false, false},
        {"wrong echo", EmulatedFault::WrongEcho, true, true},
        {"status 0xFF", EmulatedFault::StatusFailed, true, false},
        {"status 0xFE", EmulatedFault::StatusRejected, true, false},
        {"receiver cannot serve", EmulatedFault::ReceiverCannotServe, true, false},
        {"bad checksum", EmulatedFault::BadCrc, true, true},
    };
    uint8_t value = 0x40;
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        ++value;
        const std::vector<uint8_t> payload{value};
        mouse->Faults().Arm(c.fault);
        const auto answer = Exchange(*cable, Request(kCmdWriteMemory, 1, 100, payload), 50);
        ASSERT_EQ(answer.has_value(), c.answered);
        EXPECT_EQ(Memory()[100] == value, c.takesEffect);
        if (answer) {
            const uint8_t echo = (*answer)[kOffsetCommand];
            const uint8_t status = (*answer)[kOffsetStatus];
            EXPECT_EQ(echo == kCmdWriteMemory,
                      c.fault != EmulatedFault::WrongEcho && c.fault != EmulatedFault::ReceiverCannotServe);
            EXPECT_EQ(echo == kReceiverCannotServe, c.fault == EmulatedFault::ReceiverCannotServe);
            EXPECT_EQ(status == kStatusFailed, c.fault == EmulatedFault::StatusFailed);
            EXPECT_EQ(status == kStatusRejected, c.fault == EmulatedFault::StatusRejected);
            EXPECT_EQ(ChecksumMatches(*answer), c.fault != EmulatedFault::BadCrc);
        }
        const auto next = Exchange(*cable, Request(kCmdBeginConfig));
        ASSERT_TRUE(next.has_value());
        EXPECT_EQ((*next)[kOffsetCommand], kCmdBeginConfig);
        EXPECT_EQ((*next)[kOffsetStatus], 0);
        EXPECT_TRUE(ChecksumMatches(*next));
    }
}

TEST_F(MouseProtocolTest, FaultsCanTargetOneCommandAndLastUntilCleared) {
    mouse->Faults().Arm(EmulatedFault::StatusRejected, CFaultPlan::kUntilCleared, kCmdEndConfig);
    EXPECT_EQ((*Exchange(*cable, Request(kCmdBeginConfig)))[kOffsetStatus], 0);
    EXPECT_EQ((*Exchange(*cable, Request(kCmdEndConfig)))[kOffsetStatus], kStatusRejected);
    EXPECT_EQ((*Exchange(*cable, Request(kCmdEndConfig)))[kOffsetStatus], kStatusRejected);
    mouse->Faults().Clear();
    EXPECT_EQ((*Exchange(*cable, Request(kCmdEndConfig)))[kOffsetStatus], 0);
}

TEST_F(MouseProtocolTest, UnplugDuringATransferFailsTheWaitingRead) {
    mouse->Faults().Arm(EmulatedFault::UnplugDuringTransfer);
    ASSERT_EQ(cable->Write(Request(kCmdReadDeviceInfo, 34, 0), 100).status, HidIoStatus::Ok);
    Report answer{};
    EXPECT_EQ(cable->Read(answer, 1000).status, HidIoStatus::Failed);
    EXPECT_FALSE(emulation->EmulatedBackend().IsPlugged("mouse"));
    EXPECT_NE(Exchange(*receiver, Request(kCmdBeginConfig)), std::nullopt) << "the receiver is another node";
}

TEST_F(MouseProtocolTest, ReceiverAnswersTheLinkQueryAndRefusesWhileOutOfRange) {
    const auto linked = Exchange(*receiver, Request(kCmdQueryReceiverLink));
    ASSERT_TRUE(linked.has_value());
    EXPECT_EQ((*linked)[kOffsetPayload], 0xFF);

    std::string error;
    ASSERT_TRUE(emulation->SetInRange("mouse-receiver", false, error)) << error;
    const auto unlinked = Exchange(*receiver, Request(kCmdQueryReceiverLink));
    ASSERT_TRUE(unlinked.has_value());
    EXPECT_EQ((*unlinked)[kOffsetPayload], 0x00);
    const std::vector<uint8_t> payload{0x77};
    const auto refused = Exchange(*receiver, Request(kCmdWriteMemory, 1, 10, payload));
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ((*refused)[kOffsetCommand], kReceiverCannotServe);
    EXPECT_NE(Memory()[10], 0x77);
    EXPECT_EQ((*Exchange(*cable, Request(kCmdBeginConfig)))[kOffsetCommand], kCmdBeginConfig)
        << "the cable does not depend on the radio";

    ASSERT_TRUE(emulation->SetInRange("mouse", true, error));
    EXPECT_EQ((*Exchange(*receiver, Request(kCmdWriteMemory, 1, 10, payload)))[kOffsetStatus], 0);
    EXPECT_EQ(Memory()[10], 0x77);
}

TEST_F(MouseProtocolTest, ProtectedExchangeThroughTheReceiverChecksTheCrc) {
    std::vector<uint8_t> frame(24);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7 + 1);
    Report request = Request(kCmdStreamLights, 24, 0, frame);  // carries the checksum
    ASSERT_NE(ReportCrc(request), Checksum(request));

    EXPECT_EQ((*Exchange(*receiver, request))[kOffsetStatus], kStatusFailed) << "the receiver wants the CRC";
    EXPECT_EQ((*Exchange(*cable, request))[kOffsetStatus], 0) << "by cable the checksum is right";

    StoreCrc(request);
    request[40] ^= 0xFF;  // outside the CRC's bytes 3..31
    frame[0] ^= 0xFF;
    request[kOffsetPayload] = frame[0];
    StoreCrc(request);
    const auto answer = Exchange(*receiver, request);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ((*answer)[kOffsetStatus], 0);
    EXPECT_TRUE(CrcMatches(*answer)) << "the answer carries a CRC too";
    EXPECT_EQ(mouse->ReadArea("light_frame")[0], frame[0]);

    mouse->Faults().Arm(EmulatedFault::BadCrc);
    const auto corrupted = Exchange(*receiver, request);
    ASSERT_TRUE(corrupted.has_value());
    const uint16_t crc = ReportCrc(*corrupted);
    EXPECT_NE((*corrupted)[kOffsetChecksumLow], crc & 0xFF);
    EXPECT_NE((*corrupted)[kOffsetChecksumHigh], crc >> 8) << "both bytes are wrong";
}

TEST_F(MouseProtocolTest, StatusBytesTellBatteryChargingAndTheAnsweringPort) {
    std::string error;
    ASSERT_TRUE(emulation->SetBattery("mouse-receiver", 42, 1, error)) << error;
    EXPECT_FALSE(emulation->SetBattery("mouse", 101, 0, error));
    EXPECT_FALSE(emulation->SetBattery("mouse", 50, 3, error));
    const auto byCable = Exchange(*cable, Request(kCmdReadStatus, 6, 0));
    const auto byReceiver = Exchange(*receiver, Request(kCmdReadStatus, 6, 0));
    ASSERT_TRUE(byCable && byReceiver);
    EXPECT_EQ(FormatHexBytes(std::span<const uint8_t>(*byCable).subspan(kOffsetPayload, 6), " "),
              "2a 01 00 00 00 00");
    EXPECT_EQ(FormatHexBytes(std::span<const uint8_t>(*byReceiver).subspan(kOffsetPayload, 6), " "),
              "2a 01 00 01 00 00");
    const auto shifted = Exchange(*receiver, Request(kCmdReadStatus, 2, 2));
    EXPECT_EQ((*shifted)[kOffsetPayload + 1], 1) << "byte 3 read from address 2";
}

TEST_F(MouseProtocolTest, PortsReportTheirIdsAndFirmwareVersions) {
    EXPECT_EQ(cable->Attributes().productId, 0x225A);
    EXPECT_EQ(cable->Attributes().versionNumber, 0x0110);
    EXPECT_EQ(receiver->Attributes().productId, 0x225B);
    EXPECT_EQ(receiver->Attributes().versionNumber, 0x0106);
    EXPECT_EQ(cable->Attributes().vendorId, 0x320F);

    mouse->SetFirmwareVersion(EmulatedPort::Receiver, 0x0105);
    EXPECT_EQ(emulation->Backend().Open(kReceiverPath, true, true)->Attributes().versionNumber, 0x0105)
        << "a new version shows at the next open";
    EXPECT_EQ(receiver->Attributes().versionNumber, 0x0106);
}

TEST_F(MouseProtocolTest, CableReceiverAndEventsRunSideBySide) {
    std::atomic<int> badAnswers{0};
    auto hammer = [&](IHidConnection& connection, uint8_t command, uint16_t address) {
        for (int i = 0; i < 100; ++i) {
            const std::vector<uint8_t> payload{static_cast<uint8_t>(i)};
            // A generous time-out: this test is about answers never crossing, not about speed.
            const auto answer = Exchange(connection, Request(command, 1, address, payload), 5000);
            if (!answer ||
                ((*answer)[kOffsetCommand] != command && (*answer)[kOffsetCommand] != kReceiverCannotServe)) {
                ++badAnswers;
            }
        }
    };
    std::thread byCable(hammer, std::ref(*cable), kCmdWriteMemory, 1000);
    std::thread byReceiver(hammer, std::ref(*receiver), kCmdReadMemory, 1000);
    std::thread events([&] {
        std::string ignored;
        for (int i = 0; i < 100; ++i) {
            emulation->SetInRange("mouse", i % 2 == 0, ignored);
            // Fewer notifications than a connection queues (64, as hidraw): a full queue drops reports,
            // answers included, which is not what this test is about.
            if (i % 4 == 0) emulation->Notify("mouse", static_cast<uint16_t>(0x1000 + i % 16), ignored);
        }
        emulation->SetInRange("mouse", true, ignored);
    });
    byCable.join();
    byReceiver.join();
    events.join();
    EXPECT_EQ(badAnswers, 0);
    EXPECT_EQ(Memory()[1000], 99);
}

class MouseNotificationTest : public MouseFixture {
protected:
    void SetUp() override {
        MouseFixture::SetUp();
        cableNotes = emulation->Backend().Open(kCableNotificationPath, true, true);
        receiverNotes = emulation->Backend().Open(kReceiverNotificationPath, true, true);
        ASSERT_NE(cableNotes, nullptr);
        ASSERT_NE(receiverNotes, nullptr);
    }
    static std::string NextReport(IHidConnection& connection) {
        std::array<uint8_t, 64> buffer{};
        const HidIoResult result = connection.Read(buffer, 100);
        if (result.status != HidIoStatus::Ok) return "none";
        return FormatHexBytes(std::span<const uint8_t>(buffer).first(result.bytes), " ");
    }
    std::unique_ptr<IHidConnection> cableNotes;
    std::unique_ptr<IHidConnection> receiverNotes;
};

TEST_F(MouseNotificationTest, SlotAndStageChangesUpdateTheMouseAndReachTheHost) {
    std::string error;
    ASSERT_TRUE(emulation->Notify("mouse", 0x1123, error)) << error;
    EXPECT_EQ(NextReport(*cableNotes), "03 23 11");
    EXPECT_EQ(NextReport(*receiverNotes), "none") << "with the cable in, the mouse talks by cable";
    EXPECT_EQ(Memory()[0], 3);
    EXPECT_EQ(Memory()[3 * MouseBlock::kStride + MouseBlock::kActiveStage], 2);

    ASSERT_TRUE(emulation->Notify("mouse", 0x1005, error)) << error;
    EXPECT_EQ(NextReport(*cableNotes), "03 05 10");
    EXPECT_EQ(Memory()[0], 5);
    EXPECT_EQ(Memory()[5 * MouseBlock::kStride + MouseBlock::kActiveStage], 2) << "0x10 keeps the stage";

    ASSERT_TRUE(emulation->Notify("mouse", 0x0403, error)) << error;
    EXPECT_EQ(NextReport(*cableNotes), "03 03 04");
    EXPECT_EQ(Memory()[0], 5);
}

TEST_F(MouseNotificationTest, WithoutTheCableNotificationsTravelThroughTheReceiver) {
    std::string error;
    ASSERT_TRUE(emulation->Unplug("mouse", error));
    ASSERT_TRUE(emulation->Notify("mouse", 0x0401, error)) << error;
    EXPECT_EQ(NextReport(*receiverNotes), "03 01 04");

    ASSERT_TRUE(emulation->SetInRange("mouse-receiver", false, error));
    EXPECT_FALSE(emulation->Notify("mouse", 0x0401, error));
    EXPECT_NE(error.find("out of"), std::string::npos) << error;
    EXPECT_EQ(NextReport(*receiverNotes), "none");
}

TEST_F(MouseNotificationTest, NotificationWithNoOneListeningIsAnError) {
    cableNotes.reset();
    cable.reset();
    std::string error;
    EXPECT_FALSE(emulation->Notify("mouse", 0x0401, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(emulation->Notify("keyboard", 0x0401, error));
    EXPECT_NE(error.find("unknown emulated device"), std::string::npos) << error;
}

}  // namespace
}  // namespace zevik::test

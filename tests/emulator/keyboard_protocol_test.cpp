// The emulated keyboard at the level of reports: its layout areas, the commands that reach each area,
// the custom-colour slots and their end, slot moves, and the two ports with the same ids.

#include <gtest/gtest.h>

#include "emulator/keyboard_model.h"
#include "mouse_fixture.h"

namespace zevik::test {
namespace {

constexpr const char* kKeyboardCable = "emu:keyboard#vid_0000&pid_0000&mi_01&col04";
constexpr const char* kKeyboardReceiver = "emu:keyboard-receiver#vid_0000&pid_0000&mi_01&col04";

// The mouse fixture's request and answer helpers over the keyboard's ports.
class KeyboardProtocolTest : public MouseFixture {
protected:
    void SetUp() override {
        std::string error;
        EmulationOptions options;
        options.list = "keyboard@both";
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        keyboard = dynamic_cast<CKeyboardModel*>(emulation->Model("keyboard"));
        ASSERT_NE(keyboard, nullptr);
        cable = emulation->Backend().Open(kKeyboardCable, true, true);
        receiver = emulation->Backend().Open(kKeyboardReceiver, true, true);
        ASSERT_NE(cable, nullptr);
        ASSERT_NE(receiver, nullptr);
    }

    uint8_t Status(IHidConnection& port, uint8_t command, uint8_t length, uint16_t address,
                   std::span<const uint8_t> payload = {}) {
        const auto answer = Exchange(port, Request(command, length, address, payload));
        EXPECT_TRUE(answer.has_value()) << std::hex << int{command};
        if (!answer) return 0xEE;
        last = *answer;
        return (*answer)[vendor::kOffsetStatus];
    }

    CKeyboardModel* keyboard = nullptr;
    vendor::Report last{};
};

TEST_F(KeyboardProtocolTest, FullSizeBoardDescribesItsLayout) {
    ASSERT_EQ(Status(*cable, vendor::kCmdReadDeviceInfo, 34, 0), 0);
    EXPECT_EQ(last[vendor::kOffsetPayload + 5], 109);
    EXPECT_EQ(last[vendor::kOffsetPayload + 6], 16);

    const std::vector<uint8_t> leds = keyboard->ReadArea("led_index");
    ASSERT_EQ(leds.size(), 170u);
    for (size_t k = 0; k < leds.size(); ++k) {
        if (k < 109) {
            EXPECT_LT(leds[k], 109) << k;
            EXPECT_NE(leds[k], k) << k;
        } else {
            EXPECT_EQ(leds[k], 255) << k;
        }
    }
    const std::vector<uint8_t> codes = keyboard->ReadArea("key_codes");
    EXPECT_EQ(codes.size(), 512u);
    EXPECT_EQ((std::vector<uint8_t>{codes[0], codes[1], codes[2]}), (std::vector<uint8_t>{0x20, 0x00, 0x29}));
    EXPECT_EQ((std::vector<uint8_t>{codes[3 * 108], codes[3 * 108 + 1], codes[3 * 108 + 2]}),
              (std::vector<uint8_t>{0xD0, 0xA2, 0x05}))
        << "M5 is the last position";
    EXPECT_EQ(keyboard->ReadArea("memory").size(), 1024u);
    EXPECT_EQ(keyboard->ReadArea("macro").size(), 2048u);
}

TEST_F(KeyboardProtocolTest, EachCommandReachesItsArea) {
    const std::vector<uint8_t> bytes = {1, 2, 3};
    struct Case {
        uint8_t command;
        const char* area;
        uint16_t address;
    };
    for (const Case c : {Case{vendor::kCmdWriteKeyTable, "key_table", 6}, Case{vendor::kCmdWriteKeyTable2, "key_table2", 9},
                         Case{vendor::kCmdWriteKeyColors, "key_colors", 3 * 512 + 3},
                         Case{vendor::kCmdWriteMacroImage, "macro", 12}, Case{vendor::kCmdWriteMemory, "memory", 40}}) {
        ASSERT_EQ(Status(*cable, c.command, 3, c.address, bytes), 0) << c.area;
        const std::vector<uint8_t> area = keyboard->ReadArea(c.area);
        EXPECT_EQ((std::vector<uint8_t>(area.begin() + c.address, area.begin() + c.address + 3)), bytes) << c.area;
    }
    EXPECT_EQ(keyboard->ReadArea("key_codes"), CKeyboardModel::FactoryKeyCodes(109)) << "the factory table stays";
    for (const uint8_t command : {vendor::kCmdBeginConfig, vendor::kCmdEndConfig, vendor::kCmdNotifyLightControl}) {
        EXPECT_EQ(Status(*cable, command, 0, 0), 0) << int{command};
    }
    ASSERT_EQ(Status(*receiver, vendor::kCmdReadKeyColors, 3, 3 * 512 + 3), 0);
    EXPECT_EQ((std::vector<uint8_t>(last.begin() + vendor::kOffsetPayload, last.begin() + vendor::kOffsetPayload + 3)),
              bytes);
}

TEST_F(KeyboardProtocolTest, CustomColourSlotsEndAfterTheEighth) {
    const std::vector<uint8_t> bytes(24, 0x11);
    EXPECT_EQ(Status(*cable, vendor::kCmdWriteKeyColors, 24, 7 * 512 + 488, bytes), 0);
    EXPECT_EQ(Status(*cable, vendor::kCmdWriteKeyColors, 24, 8 * 512, bytes), vendor::kStatusFailed);
    EXPECT_EQ(Status(*cable, vendor::kCmdReadKeyColors, 24, 8 * 512), vendor::kStatusFailed);
    EXPECT_EQ(Status(*cable, vendor::kCmdReadLedIndexTable, 24, 160), vendor::kStatusFailed) << "past 170";
}

TEST_F(KeyboardProtocolTest, SlotEventsMoveTheActiveSlotAndStatusTellsThePort) {
    std::string error;
    emulation->Notify("keyboard", 0x1005, error);
    EXPECT_EQ(keyboard->ReadArea("memory")[0], 5);
    emulation->Notify("keyboard", 0x1123, error);
    EXPECT_EQ(keyboard->ReadArea("memory")[0], 3);
    emulation->Notify("keyboard", 0x0700, error);
    EXPECT_EQ(keyboard->ReadArea("memory")[0], 3);
    for (const bool viaReceiver : {false, true}) {
        ASSERT_EQ(Status(viaReceiver ? *receiver : *cable, vendor::kCmdReadStatus, 6, 0), 0);
        EXPECT_EQ(last[vendor::kOffsetPayload + 3], viaReceiver ? 1 : 0);
    }
}

TEST_F(KeyboardProtocolTest, BothPortsCarryTheSameIdsAndTheCableIsListedFirst) {
    std::vector<std::string> paths;
    ASSERT_TRUE(emulation->Backend().Enumerate(paths));
    const auto cableAt = std::find(paths.begin(), paths.end(), kKeyboardCable);
    const auto receiverAt = std::find(paths.begin(), paths.end(), kKeyboardReceiver);
    ASSERT_NE(cableAt, paths.end());
    ASSERT_NE(receiverAt, paths.end());
    EXPECT_LT(cableAt, receiverAt);
    EXPECT_EQ(cable->Attributes().vendorId, 0);
    EXPECT_EQ(receiver->Attributes().productId, 0);
}

}  // namespace
}  // namespace zevik::test

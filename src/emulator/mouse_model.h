#pragma once
// CMouseModel: the firmware of the mouse, reachable by cable (0x320F:0x225A) and through its wireless
// receiver (0x320F:0x225B); both ports reach the same memory.
//
// Each port is a USB device with two interfaces: interface 0 is the plain mouse (one collection, the
// host never talks to it), interface 1 carries four top-level collections: 1 keyboard (report id 1),
// 2 system control (id 2), 3 consumer control (id 3: the notification reports, one 16-bit usage) and
// 4 the vendor collection, usage page 0xFF1C usage 0x92 (id 4: the 64-byte command reports).
//
// Memory areas and the commands that reach them:
//   "memory"      2048 bytes: 16 settings blocks of 128 bytes at slot x 128, the first 94 bytes of each
//                 laid out as MouseBlock says; the byte at address 0 is the active slot.
//                 0x05 reads, 0x06 writes.
//   "device_info" 34 bytes, 0x03 reads: byte 5 number of physical keys, byte 6 macro memory in 128-byte
//                 units.
//   "key_codes"   512 bytes, 0x07 reads, never written: each physical key's factory code, three bytes
//                 (type, parameter 1, parameter 2) per key; the host learns its key map from it.
//   "key_table"   512 bytes, 0x09 writes: the keys' assigned codes, laid out as "key_codes".
//   "macro"       device_info byte 6 x 128 bytes, 0x15 writes.
//   "recoil"      4096 bytes, 0x17 writes.
//   "light_frame" 512 bytes, 0x12 writes (the protected exchange; CRC-checked through the receiver).
//   "status"      16 bytes, 0x1A reads: byte 0 battery level in percent, byte 1 charging (0 idle,
//                 1 charging, 2 full), byte 3 connection (1 receiver, 0 cable: set by the answering port).
// Commands 0x01 (begin configuration), 0x02 (end configuration) and 0x1C are accepted; 0xAA is the
// receiver's link query.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulator/firmware_model.h"

namespace zevik {

// The 94-byte settings block (offsets; one byte each unless said otherwise).
namespace MouseBlock {
inline constexpr size_t kSize = 94;
inline constexpr size_t kStride = 128;  // distance between two slots' blocks
inline constexpr size_t kSlotCount = 16;
inline constexpr size_t kSlot = 0;           // active slot (block 0) / slot value written by the host
inline constexpr size_t kLightMode = 1;      // lighting mode code
inline constexpr size_t kBrightness = 2;     // 0..4
inline constexpr size_t kSpeedInverted = 3;  // 4 - speed level
inline constexpr size_t kDirection = 4;
inline constexpr size_t kMultiColour = 5;  // 0/1
inline constexpr size_t kRed = 6;
inline constexpr size_t kGreen = 7;
inline constexpr size_t kBlue = 8;
inline constexpr size_t kLinearCalibration = 10;  // 0..1
inline constexpr size_t kReportRate = 11;         // option 0..4
inline constexpr size_t kActiveStage = 12;        // 0..5
inline constexpr size_t kLiftOff = 13;            // option 0..1
inline constexpr size_t kStages = 14;             // six stage records of kStageSize bytes
inline constexpr size_t kStageSize = 9;           // enabled, XY flag, X (16-bit LE), Y (16-bit LE), R, G, B
inline constexpr size_t kStageCount = 6;
inline constexpr size_t kSleepLow = 68;
inline constexpr size_t kSleepHigh = 69;
inline constexpr size_t kDormancy = 70;    // seconds, 16-bit LE
inline constexpr size_t kKeyDelay = 72;    // code 1, 3, 5, 7, 9
inline constexpr size_t kMotionSync = 74;  // 0..1
inline constexpr size_t kDeepSleep = 93;   // 0..1
}  // namespace MouseBlock
static_assert(MouseBlock::kStages + MouseBlock::kStageCount * MouseBlock::kStageSize == MouseBlock::kSleepLow,
              "the six stage records end where the sleep time starts");
static_assert(MouseBlock::kDeepSleep < MouseBlock::kSize && MouseBlock::kSize <= MouseBlock::kStride,
              "a block fits its slot");

class CMouseModel final : public CFirmwareModel {
public:
    static constexpr uint16_t kVendorId = 0x320F;
    static constexpr uint16_t kCableProductId = 0x225A;
    static constexpr uint16_t kReceiverProductId = 0x225B;
    // Factory firmware: the lowest versions that need no upgrade.
    static constexpr uint16_t kCableFirmware = 0x0110;
    static constexpr uint16_t kReceiverFirmware = 0x0106;

    static constexpr uint8_t kNotificationReportId = 3;
    static constexpr uint8_t kCommandCollection = 4;  // numbering from 1
    static constexpr uint8_t kNotificationCollection = 3;

    static constexpr size_t kMemorySize = MouseBlock::kSlotCount * MouseBlock::kStride;
    static constexpr size_t kDeviceInfoSize = 34;
    static constexpr size_t kDeviceInfoKeyCount = 5;
    static constexpr size_t kDeviceInfoMacroUnits = 6;
    static constexpr uint8_t kPhysicalKeys = 12;
    static constexpr uint8_t kMacroUnits = 16;
    static constexpr size_t kKeyTableSize = 512;
    static constexpr size_t kRecoilSize = 4096;
    static constexpr size_t kLightFrameSize = 512;
    static constexpr size_t kStatusSize = 16;
    static constexpr size_t kStatusBattery = 0;
    static constexpr size_t kStatusCharging = 1;
    static constexpr size_t kStatusConnection = 3;

    CMouseModel();

    std::vector<EmulatedNodeLayout> NodeLayouts() const override;

    bool SetBattery(uint8_t percent, uint8_t charging) override;

    // Factory contents, for tests that check what a fresh mouse reports.
    static std::vector<uint8_t> FactoryBlock(uint8_t slot);
    static std::vector<uint8_t> FactoryKeyTable();

protected:
    // 0x10s: the mouse switched to slot s; 0x11ts: to slot s and stage t (the state follows).
    void OnNotification(uint16_t usage) override;
    void OnStatusRead(EmulatedPort port, std::span<uint8_t> data, size_t address) override;
};

}  // namespace zevik

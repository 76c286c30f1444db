#pragma once
// CKeyboardModel: the firmware of the keyboard, reachable by cable and through its wireless receiver,
// both reporting vendor and product id 0x0000:0x0000 (so discovery tells them apart only by their
// order: the cable's nodes are listed first). Both ports reach the same memory.
//
// Each port is a USB device with two interfaces: interface 0 is a boot keyboard (the host never
// talks to it), interface 1 carries the mouse model's four collections (events on collection 3,
// commands on collection 4).
//
// The board is a full-size layout of 104 keys plus the macro keys M1-M5: N = 109 physical positions
// (tests choose another N). Each position's factory triple is the one of the key sitting there; its
// LED index is another position's number (position k lights LED (k + 1) mod N).
//
// Memory areas and the commands that reach them:
//   "memory"      1024 bytes: byte 0 the active slot; the 34-byte block of slot s at s x 33.
//                 0x05 reads, 0x06 writes.
//   "device_info" 34 bytes, 0x03 reads: byte 5 N, byte 6 macro memory in 128-byte units (16).
//   "key_codes"   512 bytes, 0x07 reads, never written: the factory triple of each position.
//   "key_table"   512 bytes, 0x09 writes: key layer 1, laid out as "key_codes".
//   "key_table2"  512 bytes, 0x27 writes: key layer 2.
//   "led_index"   170 bytes, 0x1B reads: the LED of each position, 255 past N.
//   "key_colors"  8 slots x 512 bytes, 0x0A reads, 0x0B writes (slot s at s x 512; beyond: 0xFF).
//   "macro"       2048 bytes, 0x15 writes.
//   "light_frame" 512 bytes, 0x12 writes (the protected exchange; CRC-checked through the receiver).
//   "status"      16 bytes, 0x1A reads: byte 3 connection (1 receiver, 0 cable, set by the port).
// Commands 0x01, 0x02 and 0x1C are accepted; 0xAA is the receiver's link query. Events 0x10s and
// 0x11ts move the active slot to s, as the mouse's do.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulator/firmware_model.h"

namespace zevik {

namespace KeyboardBlock {
inline constexpr size_t kSize = 34;
inline constexpr size_t kStride = 33;
inline constexpr size_t kSlot = 0;
inline constexpr size_t kLightMode = 1;
inline constexpr size_t kBrightness = 2;
inline constexpr size_t kSpeedInverted = 3;
inline constexpr size_t kDirection = 4;
inline constexpr size_t kMultiColour = 5;
inline constexpr size_t kRed = 6;
inline constexpr size_t kGreen = 7;
inline constexpr size_t kBlue = 8;
inline constexpr size_t kLedModeVariant = 18;
inline constexpr size_t kWFlag = 19;
inline constexpr size_t kSixKey = 20;
inline constexpr size_t kWinLock = 21;
inline constexpr size_t kReportRate = 22;
inline constexpr size_t kCustomSlot = 25;
}  // namespace KeyboardBlock

class CKeyboardModel final : public CFirmwareModel {
public:
    static constexpr uint16_t kVendorId = 0x0000;
    static constexpr uint16_t kProductId = 0x0000;
    static constexpr uint8_t kFullSizePositions = 109;
    // A board may report more positions than a block holds (the host refuses them).
    static constexpr int kMaxPositions = 255;

    static constexpr size_t kMemorySize = 1024;
    static constexpr size_t kDeviceInfoSize = 34;
    static constexpr size_t kDeviceInfoPositions = 5;
    static constexpr size_t kDeviceInfoMacroUnits = 6;
    static constexpr uint8_t kMacroUnits = 16;
    static constexpr size_t kKeyTableSize = 512;
    static constexpr size_t kLedIndexSize = 170;
    static constexpr size_t kKeyColourSlots = 8;
    static constexpr size_t kKeyColourSlotSize = 512;
    static constexpr size_t kLightFrameSize = 512;
    static constexpr size_t kStatusSize = 16;
    static constexpr size_t kStatusConnection = 3;
    static constexpr uint8_t kFactoryMode = 1;  // the wave

    explicit CKeyboardModel(int positions = kFullSizePositions);

    int Positions() const { return positions_; }
    std::vector<EmulatedNodeLayout> NodeLayouts() const override;
    // Both ports carry the same ids: a receiver alone would be taken for the cable.
    bool ServesReceiverAlone() const override { return false; }

    // Factory contents, for tests that check what a fresh keyboard reports.
    static std::vector<uint8_t> FactoryBlock(uint8_t slot);
    // The triple of each position of a board with that many positions, 3 bytes each.
    static std::vector<uint8_t> FactoryKeyCodes(int positions);
    static std::vector<uint8_t> FactoryLedIndexes(int positions);

protected:
    void OnNotification(uint16_t usage) override;
    void OnStatusRead(EmulatedPort port, std::span<uint8_t> data, size_t address) override;

private:
    int positions_;
};

}  // namespace zevik

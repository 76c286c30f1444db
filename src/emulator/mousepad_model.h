#pragma once
// CMousepadModel: the firmware of the mousepad (0x320F:0x1004), by cable only: interface 1 as the
// mouse's (events on collection 3, commands on collection 4). Its lighting strip runs on its own;
// the host only keeps its settings block, and its charging pad reports the phone laid on it.
//
// Memory areas and the commands that reach them:
//   "memory"      1024 bytes: byte 0 the active slot. The host reads a block of 34 bytes at
//                 slot x 33 and writes 21 bytes at slot x 64 (the layout of StripSettingsBlock:
//                 mode code, brightness, 4 - speed, direction, multicolour, colour, bytes the host
//                 does not interpret). 0x05 reads, 0x06 writes.
//   "device_info" 34 bytes, 0x03 reads.
//   "status"      6 bytes, 0x1A reads: byte 5 the phone on the charger (0 none, 1 iPhone, 2 Samsung,
//                 3 other).
// Commands 0x01 and 0x02 are accepted. Its one event is 0x401: "read my settings again".

#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulator/firmware_model.h"

namespace zevik {

class CMousepadModel final : public CFirmwareModel {
public:
    static constexpr uint16_t kVendorId = 0x320F;
    static constexpr uint16_t kProductId = 0x1004;
    static constexpr size_t kMemorySize = 1024;
    static constexpr size_t kDeviceInfoSize = 34;
    static constexpr size_t kStatusSize = 6;
    static constexpr size_t kStatusPhone = 5;
    static constexpr uint8_t kPhoneKinds = 4;  // 0 none .. 3 other
    static constexpr size_t kReadStride = 33;

    CMousepadModel();

    std::vector<EmulatedNodeLayout> NodeLayouts() const override;

    // The phone laid on the charger (0..3); false for another value.
    bool SetPhone(uint8_t phone);

    // The factory block of a slot as the host reads it (34 bytes).
    static std::vector<uint8_t> FactoryBlock(uint8_t slot);
};

}  // namespace zevik

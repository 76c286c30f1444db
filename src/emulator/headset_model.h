#pragma once
// CHeadsetModel: the firmware of the headset (0x0C76:0x1630), reached by cable only.
//
// Its HID side is USB interface 3 with one top-level collection (consumer page, usage 1) that
// carries three reports: input id 1 (the volume and mute keys, one 16-bit consumer usage), id 4 (the
// 64-byte command reports, both ways) and output id 0xFF (the 17-byte LED report). Only id 4 answers.
//
// Memory areas and the commands that reach them:
//   "memory"      1024 bytes: byte 0 the active slot; the lighting block of slot s read at s x 33
//                 (34 bytes) and written at s x 64 (21 bytes). 0x05 reads, 0x06 writes.
//   "device_info" 34 bytes, 0x03 reads.
//   "status"      16 bytes, 0x1A reads: byte 3 connection (0: by cable).
//   "leds"        78 bytes, set by LED reports: group 0x22 at 0, group 0x44 at 39; in each, LED i's
//                 red, green, blue at 3i, 3i + 1, 3i + 2.
//   "led_reports" 4 bytes: the LED reports taken, little-endian.
//   "mixer"       6 bytes: the sound card's mixer (see audio/mixer_area_card.h), never reached by a
//                 command: the host's sound system reaches it.
// Commands 0x01 and 0x02 are accepted.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulator/firmware_model.h"

namespace zevik {

class CHeadsetModel final : public CFirmwareModel {
public:
    static constexpr uint16_t kVendorId = 0x0C76;
    static constexpr uint16_t kProductId = 0x1630;
    static constexpr uint8_t kInterfaceNumber = 3;
    static constexpr uint8_t kKeyReportId = 1;

    static constexpr size_t kMemorySize = 1024;
    static constexpr size_t kDeviceInfoSize = 34;
    static constexpr size_t kStatusSize = 16;
    static constexpr size_t kLedGroupSize = 39;  // 13 LEDs x 3 colours
    static constexpr size_t kLedsSize = 2 * kLedGroupSize;
    static constexpr size_t kMixerSize = 6;

    CHeadsetModel();

    std::vector<EmulatedNodeLayout> NodeLayouts() const override;

    // Factory contents, for tests.
    static std::vector<uint8_t> FactoryBlock(uint8_t slot);
    static std::vector<uint8_t> FactoryMixer();
    static std::vector<uint8_t> Descriptor();

protected:
    void OnOtherOutputReport(EmulatedPort port, std::span<const uint8_t> report) override;
};

}  // namespace zevik

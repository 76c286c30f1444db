#pragma once
// CMouseSettingsBlock: the mouse's 94-byte settings block, the one place that knows its layout.
//
// The block lives in the mouse's memory at slot x 128 (slot 0..15); the byte at address 0 is the
// active slot. The host keeps a mirror of the last block read and writes the whole block back after
// every change, so bytes the host does not understand (73, 75..92) travel unchanged.
//
// Reading takes the profile's values from the block; filling puts them into it. Every table lookup
// with a value that came from a file or from the device is bounded: a value the table does not know
// leaves the byte (when filling) or the profile value (when reading) as it was.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "settings/dpi_stage_record.h"
#include "settings/light_info_record.h"
#include "settings/mouse_system_record.h"

namespace zevik {

// The profile values the block carries.
struct MouseBlockSettings {
    LightInfoRecord light;               // "LightInfo"; "Fx" is written, never read back
    MouseSystemRecord system;            // "SystemStages" and "ReportStages"
    int activeStage = 0;                 // "DPIStages"."StageActive"
    std::vector<DpiStageRecord> stages;  // "DPIStages"."StageDPIs"; only the first six are sent
};

class CMouseSettingsBlock {
public:
    static constexpr size_t kSize = 94;
    static constexpr uint16_t kSlotStride = 128;  // block of slot s at s * 128
    static constexpr int kSlotCount = 16;

    // Byte offsets (one byte each unless said otherwise).
    static constexpr size_t kSlot = 0;           // write: slot value of the caller; read: active slot
    static constexpr size_t kLightMode = 1;      // lighting mode code (through the mode list)
    static constexpr size_t kBrightness = 2;     // level 0..4
    static constexpr size_t kSpeedInverted = 3;  // 4 - speed level
    static constexpr size_t kDirection = 4;      // written only
    static constexpr size_t kMultiColour = 5;    // 0/1
    static constexpr size_t kRed = 6;
    static constexpr size_t kGreen = 7;
    static constexpr size_t kBlue = 8;
    static constexpr size_t kZero = 9;                // always written as 0
    static constexpr size_t kLinearCalibration = 10;  // option 0..1
    static constexpr size_t kReportRate = 11;         // option 0..4 (the profile's value as it stands)
    static constexpr size_t kActiveStage = 12;        // 0..5
    static constexpr size_t kLiftOff = 13;            // option 0..1
    static constexpr size_t kStages = 14;             // six stage records, 9 bytes each
    static constexpr size_t kStageSize = sizeof(DpiStageRecord);
    static constexpr size_t kStageCount = 6;
    static constexpr size_t kSleepLow = 68;     // "sleeptime"
    static constexpr size_t kSleepHigh = 69;    // "sleeptimeH"
    static constexpr size_t kDormancyLow = 70;  // dormancy in seconds, 16-bit little-endian
    static constexpr size_t kDormancyHigh = 71;
    static constexpr size_t kKeyDelay = 72;    // code 1, 3, 5, 7, 9
    static constexpr size_t kMotionSync = 74;  // option 0..1
    static constexpr size_t kDeepSleep = 93;   // option 0..1
    static_assert(kStages + kStageCount * kStageSize == kSleepLow);
    static_assert(kDeepSleep + 1 == kSize);

    // The number of mode-list positions "SelectItem" may name; 12 or more counts as position 0.
    static constexpr int kModeItems = 12;

    using Bytes = std::array<uint8_t, kSize>;

    CMouseSettingsBlock() = default;
    explicit CMouseSettingsBlock(const Bytes& bytes) : bytes_(bytes) {}
    // False and no change unless exactly kSize bytes are given.
    bool Assign(std::span<const uint8_t> bytes);

    const Bytes& Data() const { return bytes_; }
    uint8_t operator[](size_t offset) const { return bytes_[offset]; }
    void Set(size_t offset, uint8_t value) { bytes_[offset] = value; }

    // The address of a slot's block; slots beyond 15 are taken modulo 16.
    static uint16_t SlotAddress(int slot);

    // Puts the profile's values into the block (the mirror's other bytes stay): lighting into 1..8
    // (mode through modeList), 9 = 0, the system values, the active stage, the first six stage
    // records (fewer leave the rest as they are), and slotValue into byte 0.
    void Fill(const MouseBlockSettings& settings, std::span<const int> modeList, uint8_t slotValue);

    // Takes the profile's values from the block: the lighting but its direction, the system values
    // the block holds and the active stage. The stage records and the values the block does not
    // hold stay as they are in settings.
    void Read(MouseBlockSettings& settings, std::span<const int> modeList) const;

    // ---- value tables ----
    // "DormancyTime" 1..6 -> seconds; nullopt for 0 (unchanged) and any unknown value.
    static std::optional<uint16_t> DormancySeconds(int dormancy);
    // Byte 70 -> "DormancyTime"; nullopt for a value the table lacks.
    static std::optional<uint16_t> DormancyFromByte(uint8_t low);
    // "KeyDelay" 0..4 -> code 1, 3, 5, 7, 9; nullopt otherwise.
    static std::optional<uint8_t> KeyDelayCode(int keyDelay);
    // Code -> "KeyDelay": 1, 3, 5, 7, 9 give 0..4, anything else 0.
    static uint16_t KeyDelayFromCode(uint8_t code);
    // "SelectItem" -> mode code: items 12 and above count as 0; nullopt when the list has no such
    // position or its value does not fit a byte.
    static std::optional<uint8_t> ModeCode(int selectItem, std::span<const int> modeList);
    // Mode code -> the first list position holding it; nullopt when none does.
    static std::optional<uint8_t> ModeItem(uint8_t code, std::span<const int> modeList);

private:
    Bytes bytes_{};
};

}  // namespace zevik

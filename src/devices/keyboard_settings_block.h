#pragma once
// KeyboardSettingsBlock: the keyboard's 34-byte settings block, the one place that knows its layout.
//
// The block of slot s lives at s x 33 in the keyboard's memory; the byte at address 0 is the active
// slot. The host keeps a mirror of the last block read and writes the whole block back, so bytes it
// does not understand travel unchanged.
//
// Modes 29 and 30 are streamed by the host: their code is written as 0xFE, and a block that reads
// 0xFE keeps whatever mode the host has in force.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "settings/keyboard_system_record.h"
#include "settings/light_info_record.h"

namespace zevik {

// The profile values the block carries.
struct KeyboardBlockSettings {
    LightInfoRecord light;        // "LightInfo"
    KeyboardSystemRecord system;  // "SystemStages"
};

class KeyboardSettingsBlock {
public:
    static constexpr size_t kSize = 34;
    static constexpr std::uint16_t kSlotStride = 33;

    static constexpr size_t kSlot = 0;           // write: the caller's slot value; read: active slot
    static constexpr size_t kLightMode = 1;      // mode code (through the mode list); 0xFE streamed
    static constexpr size_t kBrightness = 2;     // level 0..4
    static constexpr size_t kSpeedInverted = 3;  // 4 - speed level
    static constexpr size_t kDirection = 4;
    static constexpr size_t kMultiColour = 5;
    static constexpr size_t kRed = 6;
    static constexpr size_t kGreen = 7;
    static constexpr size_t kBlue = 8;
    static constexpr size_t kZero = 16;  // always 0
    static constexpr size_t kLedModeVariant = 18;  // "ZZCCLedMode"
    static constexpr size_t kWFlag = 19;
    static constexpr size_t kSixKey = 20;
    static constexpr size_t kWinLock = 21;
    static constexpr size_t kReportRate = 22;  // index 0..4
    static constexpr size_t kCustomSlot = 25;  // "CustomGroup", the custom-colour slot of mode 20

    static constexpr std::uint8_t kStreamedMode = 0xFE;
    static constexpr int kStreamedModeFirst = 29;
    static constexpr int kStreamedModeLast = 30;

    using Bytes = std::array<std::uint8_t, kSize>;

    KeyboardSettingsBlock() = default;
    explicit KeyboardSettingsBlock(const Bytes& bytes) : bytes_(bytes) {}

    const Bytes& Data() const { return bytes_; }
    std::uint8_t operator[](size_t offset) const { return bytes_[offset]; }
    void Set(size_t offset, std::uint8_t value) { bytes_[offset] = value; }

    // The address of a slot's block; nothing when it would not fit a 16-bit address.
    static std::optional<std::uint16_t> SlotAddress(int slot);

    // Puts the profile's values into the block; the other bytes stay as they are.
    void Fill(const KeyboardBlockSettings& settings, std::span<const int> modeList, std::uint8_t slotValue);

    // What the block says of the lighting: a mode-list position, or nothing for 0xFE (the mode in
    // force stays). A code no list entry carries is taken as it stands.
    std::optional<std::uint8_t> ModeItem(std::span<const int> modeList) const;
    // Takes the block's values into settings: the lighting (its mode as ModeItem says) and the three
    // flags; "Repeat", "RepeatDelay" and "PollingRate" stay as they are.
    void Read(KeyboardBlockSettings& settings, std::span<const int> modeList) const;

    // "SelectItem" -> the code sent; nothing when the list has no such position.
    static std::optional<std::uint8_t> ModeCode(int selectItem, std::span<const int> modeList);

private:
    Bytes bytes_{};
};

}  // namespace zevik

#include "devices/keyboard_settings_block.h"

#include <algorithm>

namespace zevik {

namespace {

std::uint8_t Low(std::uint16_t v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

}  // namespace

std::optional<std::uint16_t> KeyboardSettingsBlock::SlotAddress(int slot) {
    if (slot < 0 || slot * kSlotStride + kSize > 0x10000) return std::nullopt;
    return static_cast<std::uint16_t>(slot * kSlotStride);
}

std::optional<std::uint8_t> KeyboardSettingsBlock::ModeCode(int selectItem, std::span<const int> modeList) {
    if (selectItem < 0 || static_cast<size_t>(selectItem) >= modeList.size()) return std::nullopt;
    const int code = modeList[static_cast<size_t>(selectItem)];
    if (code < 0 || code > 0xFF) return std::nullopt;
    if (code >= kStreamedModeFirst && code <= kStreamedModeLast) return kStreamedMode;
    return static_cast<std::uint8_t>(code);
}

void KeyboardSettingsBlock::Fill(const KeyboardBlockSettings& s, std::span<const int> modeList,
                                 std::uint8_t slotValue) {
    bytes_[kSlot] = slotValue;
    if (const auto code = ModeCode(s.light.selectItem, modeList)) bytes_[kLightMode] = *code;
    bytes_[kBrightness] = s.light.light;
    // The speed is stored inverted; a level above 4 has no code and leaves the byte.
    if (s.light.speed <= 4) bytes_[kSpeedInverted] = static_cast<std::uint8_t>(4 - s.light.speed);
    bytes_[kDirection] = s.light.fx;
    bytes_[kMultiColour] = s.light.multiColor;
    bytes_[kRed] = s.light.red;
    bytes_[kGreen] = s.light.green;
    bytes_[kBlue] = s.light.blue;
    bytes_[kZero] = 0;
    bytes_[kLedModeVariant] = s.light.zzccLedMode;
    bytes_[kWFlag] = Low(s.system.WFlag());
    bytes_[kSixKey] = Low(s.system.Key6Flag());
    bytes_[kWinLock] = Low(s.system.WinFlag());
    bytes_[kReportRate] = Low(s.system.PollingRate());
    bytes_[kCustomSlot] = s.light.customGroup;
}

std::optional<std::uint8_t> KeyboardSettingsBlock::ModeItem(std::span<const int> modeList) const {
    const std::uint8_t code = bytes_[kLightMode];
    if (code == kStreamedMode) return std::nullopt;
    const size_t count = std::min<size_t>(modeList.size(), 256);
    for (size_t i = 0; i < count; ++i) {
        if (modeList[i] == code) return static_cast<std::uint8_t>(i);
    }
    return code;
}

void KeyboardSettingsBlock::Read(KeyboardBlockSettings& s, std::span<const int> modeList) const {
    if (const auto item = ModeItem(modeList)) s.light.selectItem = *item;
    s.light.light = bytes_[kBrightness];
    if (bytes_[kSpeedInverted] <= 4) s.light.speed = static_cast<std::uint8_t>(4 - bytes_[kSpeedInverted]);
    s.light.fx = bytes_[kDirection];
    s.light.multiColor = bytes_[kMultiColour];
    s.light.red = bytes_[kRed];
    s.light.green = bytes_[kGreen];
    s.light.blue = bytes_[kBlue];
    s.light.zzccLedMode = bytes_[kLedModeVariant];
    s.light.customGroup = bytes_[kCustomSlot];
    s.system.SetKey6Flag(bytes_[kSixKey]);
    s.system.SetWinFlag(bytes_[kWinLock]);
    s.system.SetWFlag(bytes_[kWFlag]);
}

}  // namespace zevik

#include "devices/strip_settings_block.h"

#include <algorithm>

namespace zevik {

namespace {

constexpr int kTopSpeedLevel = 4;

std::optional<std::uint16_t> Address(int slot, std::uint16_t stride, size_t size) {
    if (slot < 0 || static_cast<long>(slot) * stride + static_cast<long>(size) > 0x10000) return std::nullopt;
    return static_cast<std::uint16_t>(slot * stride);
}

}  // namespace

std::optional<std::uint16_t> StripSettingsBlock::ReadAddress(int slot) {
    return Address(slot, kReadStride, kReadSize);
}

std::optional<std::uint16_t> StripSettingsBlock::WriteAddress(int slot) {
    return Address(slot, kWriteStride, kWriteSize);
}

StripSettingsBlock StripSettingsBlock::FromRead(std::span<const std::uint8_t> read, std::span<const int> modeList) {
    Mirror bytes{};
    std::copy_n(read.begin(), std::min(read.size(), bytes.size()), bytes.begin());
    const std::uint8_t code = bytes[kMode];
    const size_t count = std::min<size_t>(modeList.size(), 256);
    for (size_t i = 0; i < count; ++i) {
        if (modeList[i] == code) {
            bytes[kMode] = static_cast<std::uint8_t>(i);
            break;
        }
    }
    if (bytes[kSpeed] <= kTopSpeedLevel) bytes[kSpeed] = static_cast<std::uint8_t>(kTopSpeedLevel - bytes[kSpeed]);
    return StripSettingsBlock(bytes);
}

void StripSettingsBlock::TakeLighting(const LightInfoRecord& light) {
    m_bytes[kMode] = light.selectItem;
    m_bytes[kBrightness] = light.light;
    m_bytes[kSpeed] = light.speed;
    m_bytes[kDirection] = light.fx;
    m_bytes[kMultiColour] = light.multiColor;
    m_bytes[kRed] = light.red;
    m_bytes[kGreen] = light.green;
    m_bytes[kBlue] = light.blue;
}

StripSettingsBlock::Wire StripSettingsBlock::ToWire(std::span<const int> modeList) const {
    Wire wire{};
    std::copy_n(m_bytes.begin(), wire.size(), wire.begin());
    const size_t number = m_bytes[kMode];
    if (number < modeList.size() && modeList[number] >= 0 && modeList[number] <= 0xFF)
        wire[kMode] = static_cast<std::uint8_t>(modeList[number]);
    if (m_bytes[kSpeed] <= kTopSpeedLevel) wire[kSpeed] = static_cast<std::uint8_t>(kTopSpeedLevel - m_bytes[kSpeed]);
    return wire;
}

}  // namespace zevik

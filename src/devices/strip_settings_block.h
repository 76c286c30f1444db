#pragma once
// StripSettingsBlock: the lighting settings block of the LED-strip devices (the mousepad and the
// headset), the one place that knows its layout.
//
// The device reads it as 34 bytes at slot x 33 (the byte at address 0 is the active slot) and takes
// it as 21 bytes at slot x 64. The host keeps a mirror of the first 24 bytes read. In the mirror
// byte 1 is the mode number (the position in the mode list, or the code itself when no list entry
// carries it) and byte 3 the speed level; on the wire they are the mode code and 4 - speed level.
// Bytes 9 to 20 are not understood by the host: they travel back exactly as read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "settings/light_info_record.h"

namespace zevik {

class StripSettingsBlock {
public:
    static constexpr size_t kReadSize = 34;
    static constexpr size_t kKeptSize = 24;
    static constexpr size_t kWriteSize = 21;
    static constexpr std::uint16_t kReadStride = 33;
    static constexpr std::uint16_t kWriteStride = 64;

    static constexpr size_t kSlot = 0;
    static constexpr size_t kMode = 1;        // mirror: mode number; wire: mode code
    static constexpr size_t kBrightness = 2;  // level 0..4
    static constexpr size_t kSpeed = 3;       // mirror: speed level; wire: 4 - speed level
    static constexpr size_t kDirection = 4;
    static constexpr size_t kMultiColour = 5;
    static constexpr size_t kRed = 6;
    static constexpr size_t kGreen = 7;
    static constexpr size_t kBlue = 8;
    static constexpr size_t kKeptFirst = 9;  // 9..20 written back as read
    static constexpr size_t kKeptLast = 20;

    using Mirror = std::array<std::uint8_t, kKeptSize>;
    using Wire = std::array<std::uint8_t, kWriteSize>;

    StripSettingsBlock() = default;
    explicit StripSettingsBlock(const Mirror& mirror) : m_bytes(mirror) {}

    // Where slot's block is read from and written to; nothing when it does not fit a 16-bit address.
    static std::optional<std::uint16_t> ReadAddress(int slot);
    static std::optional<std::uint16_t> WriteAddress(int slot);

    // The block as read (kReadSize bytes; fewer are taken as zeros): the first 24 bytes with the mode
    // code turned into its number and the speed byte into its level.
    static StripSettingsBlock FromRead(std::span<const std::uint8_t> read, std::span<const int> modeList);

    // The lighting record into bytes 1 to 8 (mode number, brightness, speed, direction, multicolour,
    // colour); the slot byte and bytes 9 to 20 stay.
    void TakeLighting(const LightInfoRecord& light);

    // The 21 bytes sent: the mode code of the mirror's number (the byte as it stands when the list
    // has no such position), 4 - speed level (the byte as it stands above level 4), the rest as held.
    Wire ToWire(std::span<const int> modeList) const;

    const Mirror& Data() const { return m_bytes; }
    std::uint8_t operator[](size_t offset) const { return m_bytes[offset]; }
    void Set(size_t offset, std::uint8_t value) { m_bytes[offset] = value; }

private:
    Mirror m_bytes{};
};

}  // namespace zevik

#pragma once
// CLightLevels: the per-key level buffer (170 levels) and the 23-byte key mask that the flowing
// lighting effects are built from. Not synchronised: the device guards it with its lighting lock.

#include <array>
#include <cstdint>

#include "devices/lighting_tables.h"

namespace zevik {

class CLightLevels {
public:
    static constexpr int kLevelCount = lighting::kLogicalKeyCount;
    static constexpr int kMaskLength = lighting::kMatrixColumns;
    static constexpr int kMarkedMaskBytes = 9;  // MarkRowKeys looks at the first nine mask bytes

    // Lowers one level by one decay step of the mode group; an index outside 0..169 changes nothing.
    void DecayLevel(int index, int mode);
    // Sets to 255 the level of every key i (0..8) whose mask byte i is not zero.
    void MarkRowKeys();
    // Rotates the mask by one byte: right (byte i takes byte i - 1, byte 0 the last) when direction
    // is non-zero, else left.
    void RotateMask(int direction);
    // Zeroes every level and mask byte.
    void ClearLevels();

    // Index outside the buffer: 0, and Set changes nothing.
    std::uint8_t Level(int index) const;
    void SetLevel(int index, std::uint8_t level);
    std::uint8_t MaskByte(int index) const;
    void SetMaskByte(int index, std::uint8_t value);

private:
    std::array<std::uint8_t, kLevelCount> m_levels{};
    std::array<std::uint8_t, kMaskLength> m_mask{};
};

}  // namespace zevik

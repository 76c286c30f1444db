#include "devices/lighting_levels.h"

#include <algorithm>

namespace zevik {

void CLightLevels::DecayLevel(int index, int mode) {
    if (index < 0 || index >= kLevelCount) {
        return;
    }
    auto& level = m_levels[static_cast<size_t>(index)];
    level = lighting::DecayStep(level, mode);
}

void CLightLevels::MarkRowKeys() {
    for (size_t i = 0; i < kMarkedMaskBytes; ++i) {
        if (m_mask[i] != 0) {
            m_levels[i] = 255;
        }
    }
}

void CLightLevels::RotateMask(int direction) {
    if (direction != 0) {
        std::rotate(m_mask.rbegin(), m_mask.rbegin() + 1, m_mask.rend());
    } else {
        std::rotate(m_mask.begin(), m_mask.begin() + 1, m_mask.end());
    }
}

void CLightLevels::ClearLevels() {
    m_levels.fill(0);
    m_mask.fill(0);
}

std::uint8_t CLightLevels::Level(int index) const {
    return index < 0 || index >= kLevelCount ? 0 : m_levels[static_cast<size_t>(index)];
}

void CLightLevels::SetLevel(int index, std::uint8_t level) {
    if (index >= 0 && index < kLevelCount) {
        m_levels[static_cast<size_t>(index)] = level;
    }
}

std::uint8_t CLightLevels::MaskByte(int index) const {
    return index < 0 || index >= kMaskLength ? 0 : m_mask[static_cast<size_t>(index)];
}

void CLightLevels::SetMaskByte(int index, std::uint8_t value) {
    if (index >= 0 && index < kMaskLength) {
        m_mask[static_cast<size_t>(index)] = value;
    }
}

}  // namespace zevik

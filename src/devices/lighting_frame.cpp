#include "devices/lighting_frame.h"

namespace zevik {

void CLightFrame::Resize(int count) {
    m_size = count < 0 ? 0 : count;
    m_entries =
        m_size > 0 ? std::make_unique<std::atomic<std::uint32_t>[]>(static_cast<size_t>(m_size)) : nullptr;
    Fill(0);
    MarkChanged();
}

void CLightFrame::Set(int index, std::uint32_t value) {
    if (index < 0 || index >= m_size) {
        return;
    }
    if (m_entries[static_cast<size_t>(index)].exchange(value, std::memory_order_relaxed) != value) {
        MarkChanged();
    }
}

std::uint32_t CLightFrame::Get(int index) const {
    if (index < 0 || index >= m_size) {
        return 0;
    }
    return m_entries[static_cast<size_t>(index)].load(std::memory_order_relaxed);
}

void CLightFrame::Fill(std::uint32_t value) {
    for (int i = 0; i < m_size; ++i) {
        Set(i, value);
    }
}

}  // namespace zevik

#pragma once
// CLightFrame: one 32-bit entry per light button (red, green, blue, intensity; see PackLightEntry).
// The lighting thread writes entries while the UI thread reads them; each entry is read and written
// whole, so no reader sees a torn colour. The length changes only while no worker runs (page binding).

#include <atomic>
#include <cstdint>
#include <memory>

namespace zevik {

class CLightFrame {
public:
    CLightFrame() = default;
    CLightFrame(const CLightFrame&) = delete;
    CLightFrame& operator=(const CLightFrame&) = delete;

    int Size() const { return m_size; }
    // A new frame of count entries, all zero (count below 0 counts as 0).
    void Resize(int count);

    // Index outside the frame: Set changes nothing, Get returns 0.
    void Set(int index, std::uint32_t value);
    std::uint32_t Get(int index) const;
    void Fill(std::uint32_t value);

private:
    std::unique_ptr<std::atomic<std::uint32_t>[]> m_entries;
    int m_size = 0;
};

}  // namespace zevik

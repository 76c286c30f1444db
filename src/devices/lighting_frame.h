#pragma once
// CLightFrame: one 32-bit entry per light button (red, green, blue, intensity; see PackLightEntry).
// The lighting thread writes entries while the UI thread reads them; each entry is read and written
// whole, so no reader sees a torn colour. The length changes only while no worker runs (page binding).
//
// The frame remembers whether an entry changed since the UI last took it (TakeChanged), so the page
// repaints only when there is something new to show. Writing an entry's current value is no change.

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

    // True when an entry changed (or the frame was resized) since the last TakeChanged.
    bool HasChanged() const { return m_changed.load(); }
    // Returns HasChanged() and clears it.
    bool TakeChanged() { return m_changed.exchange(false); }
    // Counts as changed without a new entry (the frame must be shown again as it stands).
    void MarkChanged() { m_changed.store(true); }

private:
    std::unique_ptr<std::atomic<std::uint32_t>[]> m_entries;
    int m_size = 0;
    std::atomic<bool> m_changed{false};
};

}  // namespace zevik

#include "devices/keyboard_light_output.h"

#include <algorithm>
#include <span>
#include <utility>

namespace zevik {

int CKeyboardLightOutput::Show(const KeyLightFrame& frame, Preview preview, bool streamed,
                               bool frameChanged) {
    const bool previewChanged = std::exchange(m_lastPreview, preview) != preview;
    if (!streamed && (preview == Preview::Resting || (!frameChanged && !previewChanged))) {
        m_stream.Discard();
        return 0;
    }
    KeyLightPreview computed;
    int positions = 0;
    {
        std::lock_guard lock(m_mapLock);
        computed = PreviewKeyFrame(frame, m_leds, preview == Preview::Lit);
        positions = m_positions;
    }
    const int changed = preview == Preview::Resting ? 0 : m_picture.Show(computed);
    if (!streamed) {
        m_stream.Discard();
        return changed;
    }
    Offer(computed.device, positions);
    return changed;
}

void CKeyboardLightOutput::SetDeviceMap(const KeyLedIndices& leds, int positions) {
    std::lock_guard lock(m_mapLock);
    m_leds = leds;
    m_positions = positions;
}

void CKeyboardLightOutput::StreamUnseen(const KeyLightFrame& frame) {
    std::lock_guard lock(m_mapLock);
    Offer(PreviewKeyFrame(frame, m_leds, false).device, m_positions);
}

void CKeyboardLightOutput::Offer(const KeyboardColourBuffer& device, int positions) {
    const size_t bytes = std::min(static_cast<size_t>(std::max(positions, 0)) * 3, device.size());
    if (bytes == 0) return;
    m_stream.Start();
    m_stream.Offer(std::span<const std::uint8_t>(device.data(), bytes));
}

}  // namespace zevik

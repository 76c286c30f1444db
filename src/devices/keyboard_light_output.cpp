#include "devices/keyboard_light_output.h"

#include <algorithm>
#include <span>
#include <utility>

namespace zevik {

int CKeyboardLightOutput::Show(const KeyLightFrame& frame, const KeyLedIndices& leds, Preview preview,
                               bool streamed, int positions, bool frameChanged) {
    const bool previewChanged = std::exchange(m_lastPreview, preview) != preview;
    if (!streamed && (preview == Preview::Resting || (!frameChanged && !previewChanged))) {
        m_stream.Discard();
        return 0;
    }
    const KeyLightPreview computed = PreviewKeyFrame(frame, leds, preview == Preview::Lit);
    const int changed = preview == Preview::Resting ? 0 : m_picture.Show(computed);
    if (!streamed) {
        m_stream.Discard();
        return changed;
    }
    const size_t bytes = std::min(static_cast<size_t>(std::max(positions, 0)) * 3, computed.device.size());
    if (bytes == 0) return changed;
    m_stream.Start();
    m_stream.Offer(std::span<const std::uint8_t>(computed.device.data(), bytes));
    return changed;
}

}  // namespace zevik

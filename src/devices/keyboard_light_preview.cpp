#include "devices/keyboard_light_preview.h"

namespace zevik {

KeyLightPreview PreviewKeyFrame(const KeyLightFrame& frame, const KeyLedIndices& leds, bool shown) {
    KeyLightPreview out;
    for (int k = 0; k < lighting::kLogicalKeyCount; ++k) {
        const std::uint32_t entry = frame.Get(k);
        const lighting::Rgb c = lighting::EntryColour(entry);
        const std::uint8_t intensity = lighting::EntryIntensity(entry);
        if (shown) {
            out.buttons[static_cast<size_t>(k)] = {static_cast<std::uint32_t>(c.r) |
                                                       (static_cast<std::uint32_t>(c.b) << 8) |
                                                       (static_cast<std::uint32_t>(c.g) << 16),
                                                   intensity};
        }
        const std::uint8_t led = leds[static_cast<size_t>(k)];
        const size_t at = static_cast<size_t>(led) * 3;
        if (led == kNoLed || at + 2 >= out.device.size()) continue;
        out.device[at] = lighting::Scale256(c.r, intensity);
        out.device[at + 1] = lighting::Scale256(c.g, intensity);
        out.device[at + 2] = lighting::Scale256(c.b, intensity);
    }
    return out;
}

bool KeyboardModeStreamsFrames(int mode) {
    return mode == 29 || mode == 30;
}

}  // namespace zevik

#pragma once
// The two outputs of the key frame: what each key button of the page shows (colour packed red in
// bits 0-7, blue in 8-15, green in 16-23, the order the button paints, and the intensity), and the
// colour buffer streamed to the keyboard (each colour channel scaled by the intensity).

#include <array>
#include <cstdint>

#include "devices/key_light_frame.h"

namespace zevik {

struct KeyButtonLight {
    std::uint32_t colour = 0;
    std::uint8_t intensity = 0;
    friend bool operator==(const KeyButtonLight&, const KeyButtonLight&) = default;
};

struct KeyLightPreview {
    std::array<KeyButtonLight, lighting::kLogicalKeyCount> buttons{};
    KeyboardColourBuffer device{};
};

// shown: the buttons are visible on the device's function page; otherwise they show 0, 0. Keys
// without an LED are shown but leave the device buffer alone.
KeyLightPreview PreviewKeyFrame(const KeyLightFrame& frame, const KeyLedIndices& leds, bool shown);

// Whether a mode streams the device buffer to the keyboard (the audio modes).
bool KeyboardModeStreamsFrames(int mode);

}  // namespace zevik

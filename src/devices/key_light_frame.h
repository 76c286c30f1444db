#pragma once
// KeyLightFrame: the keyboard's light frame, one entry per logical key (0..169), each entry red,
// green, blue and intensity packed as PackLightEntry does. It is a CLightFrame of that length, so the
// common steps write it and readers see whole entries.

#include <array>
#include <cstdint>

#include "devices/lighting_frame.h"
#include "devices/lighting_tables.h"

namespace zevik {

class KeyLightFrame : public CLightFrame {
public:
    KeyLightFrame() { Resize(lighting::kLogicalKeyCount); }
};

// The keyboard LED each logical key drives, kNoLed for a key without one (shown, never sent).
inline constexpr std::uint8_t kNoLed = 255;
using KeyLedIndices = std::array<std::uint8_t, lighting::kLogicalKeyCount>;

// The keyboard's colour buffers (custom colours, streamed frames) are this long: R, G, B at LED x 3.
inline constexpr int kKeyboardColourBufferSize = 512;
using KeyboardColourBuffer = std::array<std::uint8_t, kKeyboardColourBufferSize>;

}  // namespace zevik

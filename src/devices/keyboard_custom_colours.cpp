#include "devices/keyboard_custom_colours.h"

#include <algorithm>
#include <cstddef>

namespace zevik {
namespace {

using lighting::EntryColour;
using lighting::EntryIntensity;
using lighting::kLogicalKeyCount;
using lighting::PackLightEntry;
using lighting::Rgb;

}  // namespace

std::uint32_t CustomColourOffset(int slot) {
    return static_cast<std::uint32_t>(std::clamp(slot, 0, 255)) * kKeyboardColourBufferSize;
}

void TakeDeviceColours(std::span<const std::uint8_t> buffer, const KeyLedIndices& leds,
                       KeyLightFrame& frame) {
    for (int k = 0; k < kLogicalKeyCount; ++k) {
        const std::uint8_t led = leds[static_cast<size_t>(k)];
        const size_t at = static_cast<size_t>(led) * 3;
        if (led == kNoLed || at + 2 >= buffer.size()) continue;
        frame.Set(k,
                  PackLightEntry(buffer[at], buffer[at + 1], buffer[at + 2], EntryIntensity(frame.Get(k))));
    }
}

KeyboardColourBuffer DeviceColours(const KeyLightFrame& frame, const KeyLedIndices& leds) {
    KeyboardColourBuffer buffer{};
    for (int k = 0; k < kLogicalKeyCount; ++k) {
        const std::uint8_t led = leds[static_cast<size_t>(k)];
        const size_t at = static_cast<size_t>(led) * 3;
        if (led == kNoLed || at + 2 >= buffer.size()) continue;
        const Rgb colour = EntryColour(frame.Get(k));
        buffer[at] = colour.r;
        buffer[at + 1] = colour.g;
        buffer[at + 2] = colour.b;
    }
    return buffer;
}

std::vector<KeyColorRecord> ProfileColours(const KeyLightFrame& frame) {
    std::vector<KeyColorRecord> colours(static_cast<size_t>(frame.Size()));
    for (int k = 0; k < frame.Size(); ++k) {
        const Rgb c = EntryColour(frame.Get(k));
        colours[static_cast<size_t>(k)] = KeyColorRecord{c.r, c.g, c.b, 255};
    }
    return colours;
}

void ShowProfileColours(const std::vector<KeyColorRecord>& colours, std::uint8_t intensity,
                        KeyLightFrame& frame) {
    for (int k = 0; k < frame.Size(); ++k) {
        const auto i = static_cast<size_t>(k);
        frame.Set(k, i < colours.size()
                         ? PackLightEntry(colours[i].red, colours[i].green, colours[i].blue, intensity)
                         : PackLightEntry(Rgb{}, intensity));
    }
}

void SetKeyColour(KeyLightFrame& frame, int key, Rgb colour) {
    if (key < 0 || key >= frame.Size()) return;
    frame.Set(key, PackLightEntry(colour, EntryIntensity(frame.Get(key))));
}

void SetAllKeyColours(KeyLightFrame& frame, Rgb colour) {
    for (int k = 0; k < frame.Size(); ++k) SetKeyColour(frame, k, colour);
}

}  // namespace zevik

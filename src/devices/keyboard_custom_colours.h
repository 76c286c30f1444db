#pragma once
// Mode 20's per-key custom colours: between the key frame, the keyboard's 512-byte colour table of a
// slot (R, G, B at LED index x 3) and the profile's colour group of the slot (one entry per logical
// key, in frame order).

#include <cstdint>
#include <span>
#include <vector>

#include "devices/key_light_frame.h"
#include "devices/lighting_tables.h"
#include "settings/key_color_record.h"

namespace zevik {

// Byte offset of a slot's table in the keyboard's memory; the slot is bounded to 0..255.
std::uint32_t CustomColourOffset(int slot);

// Each key with an LED takes its colour from the buffer read from the keyboard; the intensity stays.
// A key whose colour lies past the end of the buffer keeps its colour.
void TakeDeviceColours(std::span<const std::uint8_t> buffer, const KeyLedIndices& leds, KeyLightFrame& frame);
// The table written to the keyboard: zero except each key with an LED, its frame colour at LED x 3.
KeyboardColourBuffer DeviceColours(const KeyLightFrame& frame, const KeyLedIndices& leds);

// The frame's colours as the profile stores them (alpha 255), one per logical key.
std::vector<KeyColorRecord> ProfileColours(const KeyLightFrame& frame);
// The profile's colours into the frame at the given intensity; keys the list lacks turn black.
void ShowProfileColours(const std::vector<KeyColorRecord>& colours, std::uint8_t intensity,
                        KeyLightFrame& frame);

// One key, or every key, takes a colour (the intensity stays). A key outside the frame changes nothing.
void SetKeyColour(KeyLightFrame& frame, int key, lighting::Rgb colour);
void SetAllKeyColours(KeyLightFrame& frame, lighting::Rgb colour);

}  // namespace zevik

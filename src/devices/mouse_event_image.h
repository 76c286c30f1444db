#pragma once
// The event image the mouse takes for its macro area (command 0x15) and its recoil area (command
// 0x17): a list of event lists, each event in the four-byte device form.
//
// Layout (16-bit values little-endian):
//   0..1    0x55AA
//   2..3    total length of the image in bytes
//   4..5    m, the number of lists
//   6..15   reserved, 0
//   16..    m offsets (16-bit), each from the start of the image to its list's record
//   then    m records: event count (16-bit), 2 reserved bytes (0), the events, 4 bytes each
// Total length = 16 + 6 m + 4 x (sum of the event counts).
//
// Device form of one event: delay in milliseconds (16-bit, low byte first), "Type" with bit 7 set
// when "Action" is exactly "down", the low byte of "Button".

#include <json/value.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "settings/macro_event.h"

namespace zevik {

using MouseEventBytes = std::array<uint8_t, 4>;
using MouseEventList = std::vector<MouseEventBytes>;

inline constexpr uint16_t kMouseEventImageMagic = 0x55AA;
inline constexpr size_t kMouseEventImageHeader = 16;
// Lengths and offsets are 16-bit fields, so no image may be longer.
inline constexpr size_t kMouseEventImageMaxSize = 0xFFFF;

// One event object in the device form, read as every macro file is read (settings/macro_event.h):
// "Delay" as text or integer, clamped to 0 ... 65535 (never wrapped into a short delay); "Type"
// keeps its low seven bits. Anything but an object (a null entry included) gives four zero bytes.
MouseEventBytes EncodeMouseEvent(const Json::Value& event);
MouseEventList EncodeMouseEvents(std::span<const MacroEvent> events);

// Every entry of a document's "Events" array; a document without that array gives an empty list.
MouseEventList EncodeMouseEvents(const Json::Value& document);

// The length of the image of lists with these event counts (may exceed the 16-bit limit).
size_t MouseEventImageSize(std::span<const size_t> eventCounts);

// The image; nullopt when it would be longer than kMouseEventImageMaxSize.
std::optional<std::vector<uint8_t>> BuildMouseEventImage(std::span<const MouseEventList> lists);

}  // namespace zevik

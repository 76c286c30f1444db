#include "devices/mouse_event_image.h"

#include "settings/macro_files.h"

namespace zevik {

namespace {

void Append16(std::vector<uint8_t>& image, size_t value) {
    image.push_back(static_cast<uint8_t>(value & 0xFF));
    image.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

MouseEventBytes EncodeMouseEvent(const Json::Value& event) { return MacroEventDeviceForm(MacroEventOf(event)); }

MouseEventList EncodeMouseEvents(std::span<const MacroEvent> events) {
    MouseEventList list;
    list.reserve(events.size());
    for (const MacroEvent& e : events) list.push_back(MacroEventDeviceForm(e));
    return list;
}

MouseEventList EncodeMouseEvents(const Json::Value& document) { return EncodeMouseEvents(MacroEventsOf(document)); }

size_t MouseEventImageSize(std::span<const size_t> eventCounts) {
    size_t size = kMouseEventImageHeader;
    for (size_t count : eventCounts) size += 2 + 4 + 4 * count;
    return size;
}

std::optional<std::vector<uint8_t>> BuildMouseEventImage(std::span<const MouseEventList> lists) {
    std::vector<size_t> counts;
    counts.reserve(lists.size());
    for (const MouseEventList& list : lists) counts.push_back(list.size());
    const size_t total = MouseEventImageSize(counts);
    if (total > kMouseEventImageMaxSize) return std::nullopt;

    std::vector<uint8_t> image;
    image.reserve(total);
    Append16(image, kMouseEventImageMagic);
    Append16(image, total);
    Append16(image, lists.size());
    image.resize(kMouseEventImageHeader, 0);  // reserved
    size_t record = kMouseEventImageHeader + 2 * lists.size();
    for (const MouseEventList& list : lists) {
        Append16(image, record);
        record += 4 + 4 * list.size();
    }
    for (const MouseEventList& list : lists) {
        Append16(image, list.size());
        Append16(image, 0);  // reserved
        for (const MouseEventBytes& e : list) image.insert(image.end(), e.begin(), e.end());
    }
    return image;
}

}  // namespace zevik

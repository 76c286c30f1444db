#include "devices/mouse_event_image.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "settings/json_access.h"

namespace zevik {

namespace {

// "Delay" held as text ("50") or as an integer (recoil files): its value, clamped to 16 bits.
uint16_t DelayOf(const Json::Value& event) {
    const Json::Value* delay = json::Member(event, "Delay");
    if (delay == nullptr) return 0;
    long long value = 0;
    if (delay->isString()) {
        const std::string text = delay->asString();
        size_t i = 0;
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
        if (i < text.size() && text[i] == '-') return 0;
        if (i < text.size() && text[i] == '+') ++i;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
            value = std::min<long long>(value * 10 + (text[i] - '0'), 0xFFFF);
        }
    } else {
        value = json::AsInt(delay);
    }
    return static_cast<uint16_t>(std::clamp<long long>(value, 0, 0xFFFF));
}

void Append16(std::vector<uint8_t>& image, size_t value) {
    image.push_back(static_cast<uint8_t>(value & 0xFF));
    image.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

MouseEventBytes EncodeMouseEvent(const Json::Value& event) {
    if (!event.isObject()) return {0, 0, 0, 0};
    const uint16_t delay = DelayOf(event);
    const bool down = json::StringMember(event, "Action") == "down";
    const auto type = static_cast<uint8_t>((json::IntMember(event, "Type") & 0x7F) | (down ? 0x80 : 0));
    const auto button = static_cast<uint8_t>(json::IntMember(event, "Button") & 0xFF);
    return {static_cast<uint8_t>(delay & 0xFF), static_cast<uint8_t>(delay >> 8), type, button};
}

MouseEventList EncodeMouseEvents(const Json::Value& document) {
    MouseEventList list;
    const Json::Value* events = json::Member(document, "Events");
    if (events == nullptr || !events->isArray()) return list;
    list.reserve(events->size());
    for (const Json::Value& e : *events) list.push_back(EncodeMouseEvent(e));
    return list;
}

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

#include "settings/macro_event.h"

#include <algorithm>
#include <cctype>

#include "settings/json_access.h"

namespace zevik {

std::uint16_t ParseMacroDelay(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
    if (i < text.size() && text[i] == '-') return 0;
    if (i < text.size() && text[i] == '+') ++i;
    long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
        value = std::min<long>(value * 10 + (text[i] - '0'), kMaxMacroDelay);
    }
    return static_cast<std::uint16_t>(value);
}

std::uint16_t MacroDelayOf(const Json::Value& event) {
    const Json::Value* delay = json::Member(event, "Delay");
    if (delay == nullptr) return 0;
    if (delay->isString()) return ParseMacroDelay(delay->asString());
    if (delay->isBool() || !delay->isNumeric()) return 0;
    const double value = delay->asDouble();  // never throws for a number, whatever its size
    return static_cast<std::uint16_t>(std::clamp(value, 0.0, static_cast<double>(kMaxMacroDelay)));
}

MacroEvent MacroEventOf(const Json::Value& event) {
    MacroEvent out;
    if (!event.isObject()) return out;
    out.action = json::StringMember(event, "Action");
    const Json::Value* button = json::Member(event, "Button");
    if (button != nullptr && button->isNumeric() && !button->isBool()) {
        out.button = static_cast<std::uint8_t>(std::clamp(button->asDouble(), 0.0, 255.0));
    }
    out.type = static_cast<std::uint8_t>(json::IntMember(event, "Type") & 0x7F);
    out.delay = MacroDelayOf(event);
    return out;
}

Json::Value MacroEventJson(const MacroEvent& event) {
    Json::Value out(Json::objectValue);
    out["Action"] = event.action;
    out["Button"] = event.button;
    out["Type"] = event.type;
    out["Delay"] = std::to_string(event.delay);
    return out;
}

std::array<std::uint8_t, 4> MacroEventDeviceForm(const MacroEvent& event) {
    return {static_cast<std::uint8_t>(event.delay & 0xFF), static_cast<std::uint8_t>(event.delay >> 8),
            static_cast<std::uint8_t>((event.type & 0x7F) | (event.IsDown() ? 0x80 : 0)), event.button};
}

}  // namespace zevik

#pragma once
// Small helpers of the keyboard lighting tests: a lighting record and a frame entry to compare.

#include <cstdint>

#include "devices/lighting_tables.h"
#include "settings/light_info_record.h"

namespace zevik::test {

inline LightInfoRecord KeyboardRecord(int brightness, int direction, bool multi,
                                      lighting::Rgb colour = {10, 20, 30}, int speed = 0) {
    LightInfoRecord r;
    r.light = static_cast<std::uint8_t>(brightness);
    r.speed = static_cast<std::uint8_t>(speed);
    r.fx = static_cast<std::uint8_t>(direction);
    r.multiColor = multi ? 1 : 0;
    r.red = colour.r;
    r.green = colour.g;
    r.blue = colour.b;
    return r;
}

// An expected frame entry, readable in failure messages.
struct KeyEntry {
    int r, g, b, intensity;
    friend bool operator==(const KeyEntry&, const KeyEntry&) = default;
};
inline KeyEntry EntryOf(std::uint32_t entry) {
    const lighting::Rgb c = lighting::EntryColour(entry);
    return {c.r, c.g, c.b, lighting::EntryIntensity(entry)};
}
inline void PrintTo(const KeyEntry& e, std::ostream* os) {
    *os << "(" << e.r << ", " << e.g << ", " << e.b << " @ " << e.intensity << ")";
}

}  // namespace zevik::test

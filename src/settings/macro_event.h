#pragma once
// One event of a macro: a press or release of a key or mouse button, or a cursor movement, with
// the delay before it. The one reader of event objects for every macro and recoil file.
//
// Event object: {"Action": "down"|"up" (for movements the direction), "Button": 0..255,
// "Type": 0..127, "Delay": decimal text, milliseconds}. Files come from outside the program: a
// member of the wrong type reads as absent, and values are brought into their fields.

#include <json/value.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zevik {

// Event types the editor makes; 2 and 3 are accepted in files and shown as mouse actions.
enum MacroEventType : std::uint8_t {
    kMacroMouseButton = 1,
    kMacroMoveHorizontal = 4,  // "down" to the left, "up" to the right
    kMacroMoveVertical = 5,    // "down" up, "up" down
    kMacroModifierKey = 9,     // modifier bit of the key table
    kMacroKeyboardKey = 10,    // HID keyboard usage
};

inline constexpr std::uint16_t kMaxMacroDelay = 65535;

struct MacroEvent {
    std::string action;       // "down" or "up"; kept as found otherwise (only "down" presses)
    std::uint8_t button = 0;
    std::uint8_t type = 0;    // seven bits
    std::uint16_t delay = 0;  // milliseconds

    bool IsDown() const { return action == "down"; }
    friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};

// A delay as users and files write it: leading blanks, then decimal digits (what follows them is
// ignored); a minus sign or no digits gives 0, and values beyond the field saturate at 65535.
std::uint16_t ParseMacroDelay(std::string_view text);

// The delay of an event object, held as text or (recoil files) as an integer, clamped to 0..65535.
std::uint16_t MacroDelayOf(const Json::Value& event);

// The event object read leniently: anything but an object gives an empty event; "Button" is
// clamped to 0..255, "Type" keeps its low seven bits, a missing or non-text "Action" reads as "".
MacroEvent MacroEventOf(const Json::Value& event);

// The event object the program writes; "Delay" as decimal text.
Json::Value MacroEventJson(const MacroEvent& event);

// The four bytes the device takes: delay low byte, high byte, type with bit 7 for "down", button.
std::array<std::uint8_t, 4> MacroEventDeviceForm(const MacroEvent& event);

}  // namespace zevik

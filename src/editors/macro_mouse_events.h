#pragma once
// The mouse event table of the macro editor and recorder: each Windows mouse message (and the four
// cursor movements) with the event it makes and the text key that labels it; and the label of any
// macro event.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/macro_event.h"

namespace zevik {

struct MacroMouseEventRow {
    std::uint32_t message;   // WM_LBUTTONDOWN ...; 0 for the movements
    std::uint8_t xButton;    // 1 XBUTTON1, 2 XBUTTON2 for the X-button messages, else 0
    std::uint8_t type;
    bool down;
    std::uint8_t button;     // HID button bit; 0 for the movements
    const char* displayKey;
};

inline constexpr std::uint32_t kWmLButtonDown = 0x201, kWmLButtonUp = 0x202, kWmRButtonDown = 0x204,
                               kWmRButtonUp = 0x205, kWmMButtonDown = 0x207, kWmMButtonUp = 0x208,
                               kWmMouseWheel = 0x20A, kWmXButtonDown = 0x20B, kWmXButtonUp = 0x20C;

// 15 rows: the ten button messages, the four movements (left, right, up, down), the wheel.
std::span<const MacroMouseEventRow> MacroMouseEventTable();
// The row of a button message (xButton chooses between the X buttons); nullptr for any other.
const MacroMouseEventRow* FindMacroMouseEvent(std::uint32_t message, std::uint8_t xButton);
// Movement direction 0 left, 1 right, 2 up, 3 down; nullptr otherwise.
const MacroMouseEventRow* MacroMovementRow(int direction);

// The text key that labels an event: the key table's for types 9 and 10, the mouse event table's for
// buttons and movements; empty for anything else (types 2 and 3 show their "Button" value).
std::string MacroEventDisplayKey(const MacroEvent& event);
// True for the event types shown as keyboard actions (9, 10).
bool IsKeyboardMacroEvent(const MacroEvent& event);

}  // namespace zevik

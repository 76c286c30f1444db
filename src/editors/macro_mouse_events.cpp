#include "editors/macro_mouse_events.h"

#include <array>

#include "editors/key_tables.h"

namespace zevik {

namespace {

constexpr std::array<MacroMouseEventRow, 15> kRows = {{
    {kWmLButtonDown, 0, kMacroMouseButton, true, 0x01, "mouse_key_left"},
    {kWmLButtonUp, 0, kMacroMouseButton, false, 0x01, "mouse_key_left"},
    {kWmRButtonDown, 0, kMacroMouseButton, true, 0x02, "mouse_key_right"},
    {kWmRButtonUp, 0, kMacroMouseButton, false, 0x02, "mouse_key_right"},
    {kWmMButtonDown, 0, kMacroMouseButton, true, 0x04, "mouse_key_middle"},
    {kWmMButtonUp, 0, kMacroMouseButton, false, 0x04, "mouse_key_middle"},
    {kWmXButtonDown, 2, kMacroMouseButton, true, 0x10, "mouse_key_forward"},
    {kWmXButtonUp, 2, kMacroMouseButton, false, 0x10, "mouse_key_forward"},
    {kWmXButtonDown, 1, kMacroMouseButton, true, 0x08, "mouse_key_back"},
    {kWmXButtonUp, 1, kMacroMouseButton, false, 0x08, "mouse_key_back"},
    {0, 0, kMacroMoveHorizontal, true, 0, "mouse_move_to_left_text"},
    {0, 0, kMacroMoveHorizontal, false, 0, "mouse_move_to_right_text"},
    {0, 0, kMacroMoveVertical, true, 0, "mouse_move_to_up_text"},
    {0, 0, kMacroMoveVertical, false, 0, "mouse_move_to_down_text"},
    {kWmMouseWheel, 0, 0x12, false, 0, "mouse_cursor_text"},
}};
constexpr std::size_t kFirstMovement = 10;

}  // namespace

std::span<const MacroMouseEventRow> MacroMouseEventTable() { return kRows; }

const MacroMouseEventRow* FindMacroMouseEvent(std::uint32_t message, std::uint8_t xButton) {
    for (std::size_t i = 0; i < kFirstMovement; ++i) {
        const MacroMouseEventRow& row = kRows[i];
        if (row.message == message && (row.xButton == 0 || row.xButton == xButton)) return &row;
    }
    return nullptr;
}

const MacroMouseEventRow* MacroMovementRow(int direction) {
    if (direction < 0 || direction > 3) return nullptr;
    return &kRows[kFirstMovement + static_cast<std::size_t>(direction)];
}

bool IsKeyboardMacroEvent(const MacroEvent& event) {
    return event.type == kMacroModifierKey || event.type == kMacroKeyboardKey;
}

std::string MacroEventDisplayKey(const MacroEvent& event) {
    if (event.type == kMacroModifierKey || event.type == kMacroKeyboardKey) {
        const int row = event.type == kMacroModifierKey ? FindModifierRow(event.button)
                                                        : FindOrdinaryKeyRow(event.button);
        return row < 0 ? std::string() : KeyTable()[static_cast<std::size_t>(row)].displayKey;
    }
    if (event.type == kMacroMouseButton) {
        for (std::size_t i = 0; i < kFirstMovement; i += 2) {
            if (kRows[i].button == event.button) return kRows[i].displayKey;
        }
        return {};
    }
    if (event.type == kMacroMoveHorizontal || event.type == kMacroMoveVertical) {
        const int direction = (event.type == kMacroMoveVertical ? 2 : 0) + (event.IsDown() ? 0 : 1);
        return MacroMovementRow(direction)->displayKey;
    }
    return {};
}

}  // namespace zevik

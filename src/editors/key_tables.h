#pragma once
// The tables behind the key page: each row pairs a function's three-byte code with the text key that
// names it. A row's index is its place in the page's combo box; the key table's 16-bit key is the
// Windows virtual-key code its key page and recorder know the key by (0 where there is none).

#include <cstdint>
#include <span>
#include <string_view>

#include "settings/assignment_code.h"

namespace zevik {

struct KeyTableRow {
    std::uint16_t key;       // virtual-key code in the key table; the row index elsewhere
    AssignmentCode code;     // type, p1, p2
    const char* displayKey;  // language text key
};

std::span<const KeyTableRow> MouseButtonTable();  // left, middle, right, forward, back
std::span<const KeyTableRow> DpiTable();          // up, down, cycle
std::span<const KeyTableRow> SystemTable();       // power, sleep, wake
std::span<const KeyTableRow> MediaTable();        // 18 consumer-page keys
std::span<const KeyTableRow> ShortcutTable();     // 11 Ctrl+key shortcuts
std::span<const KeyTableRow> KeyTable();          // 142 keys; the first eight are the modifiers
std::span<const char* const> GunNames();          // recoil slots 0..3

inline constexpr int kFirstOrdinaryKeyRow = 8;
inline constexpr std::string_view kKeyTextPrefix = "keyboard_key_";

// A key table row's name: its display key without "keyboard_key_".
std::string_view KeyRowName(const KeyTableRow& row);

// Index of the row whose code equals code, -1 when none does.
int FindRowByCode(std::span<const KeyTableRow> table, AssignmentCode code);

// Key table row by name, spaces removed and case ignored ("NumEnter", "pageup"); -1 when none.
int FindKeyRowByName(std::string_view name);

// The ordinary key (row 8 onwards, type 0x20, p1 0) with this keyboard usage; -1 when none.
int FindOrdinaryKeyRow(std::uint8_t usage);

// The modifier row (0..7) whose p1 is this single modifier bit; -1 when none.
int FindModifierRow(std::uint8_t bit);

}  // namespace zevik

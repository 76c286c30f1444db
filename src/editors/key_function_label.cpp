#include "editors/key_function_label.h"

#include <cstdio>

#include "editors/key_tables.h"
#include "ui/resource_manager.h"

namespace zevik {

namespace {

// Modifier names by bit, left and right sides alike: Ctrl, Shift, Alt, Win.
constexpr const char* kModifierText[4] = {"keyset_modifier_ctrl", "keyset_modifier_shift",
                                          "keyset_modifier_alt", "keyset_modifier_win"};

std::string Resolved(std::string_view key) { return CResourceManager::GetInstance()->ResolveText(key); }

std::string KeyWithModifiers(AssignmentCode code) {
    std::string text;
    for (int m = 0; m < 4; ++m) {
        if ((code.p1 & (0x11 << m)) != 0) text += Resolved(kModifierText[m]) + "+";
    }
    const int row = FindOrdinaryKeyRow(code.p2);
    if (row >= 0) {
        text += Resolved(KeyTable()[static_cast<size_t>(row)].displayKey);
    } else if (!text.empty()) {
        text.pop_back();  // modifiers alone
    }
    return text.empty() ? AssignmentHex(code) : text;
}

std::string FromTable(std::span<const KeyTableRow> table, AssignmentCode code) {
    const int row = FindRowByCode(table, code);
    return row >= 0 ? table[static_cast<size_t>(row)].displayKey : AssignmentHex(code);
}

}  // namespace

std::string AssignmentHex(AssignmentCode code) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", code.type, code.p1, code.p2);
    return text;
}

std::string KeyFunctionLabel(AssignmentCode code, std::span<const std::string> macroNames) {
    switch (code.type) {
        case 0x00: return "close_text";
        case 0x10: return FromTable(MouseButtonTable(), code);
        case 0x11: return (code.p2 & 0x80) != 0 ? "mouse_key_right_Swing" : "mouse_key_left_Swing";
        case 0x12: return (code.p2 & 0x80) != 0 ? "mouse_key_down_Swing" : "mouse_key_up_Swing";
        case 0x13: return FromTable(DpiTable(), code);
        case 0x14: return "mouse_key_fire_key";
        case 0x15: return "mouse_key_report_loop";
        case 0x16: return "mouse_key_DPI_shift";
        case 0x20: {
            const int shortcut = FindRowByCode(ShortcutTable(), code);
            return shortcut >= 0 ? ShortcutTable()[static_cast<size_t>(shortcut)].displayKey : KeyWithModifiers(code);
        }
        case 0x30: return FromTable(MediaTable(), code);
        case 0x40: return FromTable(SystemTable(), code);
        case 0x70:
        case 0x71:
            return code.p1 < macroNames.size() ? macroNames[code.p1] : std::string("keyset_macro_missing");
        case 0x72: return code.p1 < GunNames().size() ? GunNames()[code.p1] : AssignmentHex(code);
        default: return FromTable(KeyTable(), code);  // the keyboard's own keys: FN, GM, M1..M5
    }
}

}  // namespace zevik

#include "editors/key_assignment_form.h"

#include <string>

#include "editors/key_tables.h"

namespace zevik {

namespace {

constexpr std::uint8_t kTypeMouseButton = 0x10;
constexpr std::uint8_t kTypeSwing = 0x11;
constexpr std::uint8_t kTypeWheel = 0x12;
constexpr std::uint8_t kTypeDpi = 0x13;
constexpr std::uint8_t kTypeFire = 0x14;
constexpr std::uint8_t kTypeKey = 0x20;
constexpr std::uint8_t kTypeMedia = 0x30;
constexpr std::uint8_t kTypeSystem = 0x40;
constexpr std::uint8_t kTypeMacro = 0x70;
constexpr std::uint8_t kTypeMacroCounted = 0x71;
constexpr std::uint8_t kTypeGun = 0x72;
constexpr std::uint8_t kTypeShortcutNone = 0xB0;
constexpr std::uint8_t kShortcutModifier = 0x10;
constexpr std::uint8_t kDirectionBit = 0x80;

std::uint8_t Byte(int v) { return static_cast<std::uint8_t>(v & 0xFF); }

std::optional<AssignmentCode> RowCode(std::span<const KeyTableRow> table, int row) {
    if (row < 0 || static_cast<size_t>(row) >= table.size()) return std::nullopt;
    return table[static_cast<size_t>(row)].code;
}

// Delay and speed share p1, four bits each.
std::uint8_t DelaySpeed(const MotionFields& m) {
    return Byte((EditNumber(m.delay, 15) << 4) | EditNumber(m.speed, 15));
}

void ShowDelaySpeed(std::uint8_t p1, MotionFields& m) {
    m.delay = std::to_string(p1 >> 4);
    m.speed = std::to_string(p1 & 15);
}

// Option button of a modifier row: both Ctrl rows give 1, Shift 2, Alt 3, Win 4.
int OptionOfModifierRow(int row) { return ((row + 1) % 5) + (row + 1) / 5; }

}  // namespace

int EditNumber(std::string_view text, int max) {
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > max) return max;
    }
    return static_cast<int>(value);
}

AssignmentCode BuildCode(const KeyAssignmentForm& form, AssignmentCode pending, AssignmentCode factory,
                         int macroCount) {
    const auto fromTable = [&](std::span<const KeyTableRow> table, int row) {
        return RowCode(table, row).value_or(pending);
    };
    switch (form.function) {
        case kFunctionMouseButton: return fromTable(MouseButtonTable(), form.mouseButton);
        case kFunctionDpi: return fromTable(DpiTable(), form.dpi);
        case kFunctionMedia: return fromTable(MediaTable(), form.media);
        case kFunctionSystem: return fromTable(SystemTable(), form.system);
        case kFunctionShortcut: return fromTable(ShortcutTable(), form.shortcut);
        case kFunctionSwing: {
            const int count = EditNumber(form.swing.count, 127);
            return {kTypeSwing, DelaySpeed(form.swing),
                    Byte(count | (form.swing.direction == 1 ? kDirectionBit : 0))};
        }
        case kFunctionWheel: {
            const int count = EditNumber(form.wheel.count, 127);
            // The second direction is the count negated (two's complement of a signed byte).
            const int p2 = form.wheel.direction == 1 ? ((128 - count) | kDirectionBit) & 255 : count;
            return {kTypeWheel, DelaySpeed(form.wheel), Byte(p2)};
        }
        case kFunctionFire:
            return {kTypeFire, Byte(EditNumber(form.fireInterval, 255)), Byte(EditNumber(form.fireCount, 255))};
        case kFunctionKeyboardKey: {
            AssignmentCode code = pending;
            code.type = kTypeKey;
            const int k = form.modifierOption;
            code.p1 = (k >= 1 && k < kModifierOptions) ? Byte(1 << (k - 1)) : 0;
            if (form.keyTextKey.empty()) code.p2 = 0;
            return code;
        }
        case kFunctionMacro: {
            if (form.macro < 0 || form.macro >= macroCount) return pending;
            if (form.playMode == kMacroPlayCounted) {
                return {kTypeMacroCounted, Byte(form.macro), Byte(EditNumber(form.cycles, 255))};
            }
            return {kTypeMacro, Byte(form.macro), Byte(form.playMode < 0 ? 0 : form.playMode)};
        }
        case kFunctionGun: return {kTypeGun, Byte(form.gun < 0 ? 0 : form.gun), 0};
        default: return factory;
    }
}

ShownAssignment ShowCode(AssignmentCode code, AssignmentCode factory, int macroCount) {
    ShownAssignment out;
    out.pending = code;
    KeyAssignmentForm& f = out.form;
    if (code == factory) {
        f.function = kFunctionDefault;
        out.setsFunctionFields = false;
        return out;
    }
    switch (code.type) {
        case kTypeMouseButton:
            f.function = kFunctionMouseButton;
            f.mouseButton = FindRowByCode(MouseButtonTable(), code);
            break;
        case kTypeDpi:
            f.function = kFunctionDpi;
            f.dpi = FindRowByCode(DpiTable(), code);
            break;
        case kTypeMedia:
            f.function = kFunctionMedia;
            f.media = FindRowByCode(MediaTable(), code);
            break;
        case kTypeSystem:
            f.function = kFunctionSystem;
            f.system = FindRowByCode(SystemTable(), code);
            break;
        case kTypeSwing:
        case kTypeWheel: {
            const bool wheel = code.type == kTypeWheel;
            MotionFields& m = wheel ? f.wheel : f.swing;
            f.function = wheel ? kFunctionWheel : kFunctionSwing;
            ShowDelaySpeed(code.p1, m);
            const bool second = (code.p2 & kDirectionBit) != 0;
            m.direction = second ? 1 : 0;
            const int count = second ? (wheel ? 128 - (code.p2 & 127) : code.p2 & 127) : code.p2;
            m.count = std::to_string(count);
            break;
        }
        case kTypeFire:
            f.function = kFunctionFire;
            f.fireInterval = std::to_string(code.p1);
            f.fireCount = std::to_string(code.p2);
            break;
        case kTypeKey: {
            const int shortcut = code.p1 == kShortcutModifier ? FindRowByCode(ShortcutTable(), code) : -1;
            if (shortcut >= 0) {
                f.function = kFunctionShortcut;
                f.shortcut = shortcut;
                break;
            }
            f.function = kFunctionKeyboardKey;
            const int row = FindOrdinaryKeyRow(code.p2);
            if (code.p1 != 0) {
                const int modifier = FindModifierRow(code.p1);
                // Several modifier bits show as none; the code is kept until the controls are saved.
                f.modifierOption = modifier >= 0 ? OptionOfModifierRow(modifier) : 0;
                if (row >= 0) f.keyTextKey = KeyTable()[static_cast<size_t>(row)].displayKey;
            } else if (row >= 0) {
                f.modifierOption = 0;
                f.keyTextKey = KeyTable()[static_cast<size_t>(row)].displayKey;
            } else {
                out.pending.p1 = 0;
                out.pending.p2 = 0;
            }
            break;
        }
        case kTypeMacro:
        case kTypeMacroCounted: {
            f.function = kFunctionMacro;
            const bool counted = code.type == kTypeMacroCounted;
            const bool known = code.p1 < macroCount;
            f.macro = known ? code.p1 : -1;
            f.playMode = known ? (counted ? kMacroPlayCounted : code.p2) : -1;
            f.cyclesShown = counted;
            if (counted) f.cycles = std::to_string(code.p2);
            break;
        }
        case kTypeGun:
            f.function = kFunctionGun;
            f.gun = code.p1 < GunNames().size() ? code.p1 : -1;
            break;
        case kTypeShortcutNone:
            f.function = kFunctionShortcut;
            f.shortcut = -1;
            break;
        default:
            f.function = -1;
            out.setsFunctionFields = false;
            break;
    }
    return out;
}

}  // namespace zevik

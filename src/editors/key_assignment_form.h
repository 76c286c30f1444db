#pragma once
// What the key page's controls hold, and the two directions between it and an assignment code:
// BuildCode reads a code from the controls, ShowCode says what the controls show for a code. Kept
// apart from the controls so both directions can be checked as plain values.
//
// Combo and option indices are -1 for "nothing selected". The numeric edits hold text; a text reads
// as the decimal number it starts with (0 when it starts with no digit), held at its field's largest
// value: a typed 300 shots is 255 shots, never the 44 its low byte would give.

#include <optional>
#include <string>
#include <string_view>

#include "settings/assignment_code.h"

namespace zevik {

// Function numbers: the user data of the function choice's items, and the page of the function tabs.
enum KeyFunction : int {
    kFunctionDefault = 0,
    kFunctionMouseButton = 1,
    kFunctionSwing = 2,
    kFunctionWheel = 3,
    kFunctionDpi = 4,
    kFunctionFire = 5,
    kFunctionKeyboardKey = 6,
    kFunctionMedia = 7,
    kFunctionSystem = 8,
    kFunctionMacro = 9,
    kFunctionGun = 10,
    kFunctionShortcut = 11,
};
inline constexpr int kFunctionCount = 12;

// Item of the play-mode choice that plays a macro the number of times in the cycle edit.
inline constexpr int kMacroPlayCounted = 4;
inline constexpr int kModifierOptions = 5;  // none, Ctrl, Shift, Alt, Win

struct MotionFields {  // cursor swing and wheel
    int direction = 0;  // 0 or 1
    std::string delay, speed, count;
};

struct KeyAssignmentForm {
    int function = -1;  // -1: no function item matches
    int mouseButton = -1, dpi = -1, media = -1, system = -1, shortcut = -1, gun = -1;
    MotionFields swing, wheel;
    std::string fireInterval, fireCount;
    int modifierOption = -1;       // the selected "key_ComBox_check_" n
    std::string keyTextKey;        // display key of the key shown in the key edit; "" empty
    int macro = -1, playMode = -1;
    std::string cycles;
    bool cyclesShown = false;
};

// What a code shows: the form, which parts of it the code sets (the other controls keep what they
// show), and the pending code, which showing may correct (a key with no key table row drops its
// parameters).
struct ShownAssignment {
    KeyAssignmentForm form;
    bool setsFunctionFields = true;
    AssignmentCode pending;
};

// A decimal edit text: its leading digits, 0 when none, at most max.
int EditNumber(std::string_view text, int max = 0xFFFF);

// The code the controls give. pending is the record under edit (its p2 holds a captured key's usage);
// factory the key's default code; macroCount the length of the macro list.
AssignmentCode BuildCode(const KeyAssignmentForm& form, AssignmentCode pending, AssignmentCode factory,
                         int macroCount);

// What the controls show for code.
ShownAssignment ShowCode(AssignmentCode code, AssignmentCode factory, int macroCount);

}  // namespace zevik

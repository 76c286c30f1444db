#pragma once
// A key's function in words, as the command line takes and prints it:
//   default | button left|right|middle|forward|back | swing DIR DELAY SPEED COUNT
//   | wheel DIR DELAY SPEED COUNT | dpi up|down|cycle | fire INTERVAL COUNT | key [MOD+]NAME
//   | media NAME | system power|sleep|wake | shortcut NAME | macro M MODE | macro M times N | gun G
// DIR 0|1, DELAY and SPEED 0-15, COUNT 0-127 (fire 0-255), INTERVAL and N 0-255, MODE 0-3; M (1-50)
// and G (1-4) count from 1. NAME of "key" is an ordinary key of the key table, spaces removed and case
// ignored; MOD is ctrl, shift, alt or win.

#include <optional>
#include <string>
#include <vector>

#include "settings/assignment_code.h"

namespace zevik {

inline constexpr int kMaxMacros = 50;

struct KeyFunctionWords {
    bool isDefault = false;  // the key's factory function
    AssignmentCode code;     // the code otherwise (a macro's p1 is its index, M - 1)
    int keyRow = -1;         // "key": the key table row, for the key page's key edit
};

// Nothing, with a message that names what is allowed, for words that are not a function.
std::optional<KeyFunctionWords> ParseKeyFunctionWords(const std::vector<std::string>& words, std::string& error);

// The words for a code, as ParseKeyFunctionWords takes them: "default" for the factory code, and
// "code TTPPQQ" for a code no words make (several modifiers, a right-hand modifier, the factory's
// own codes).
std::string KeyFunctionText(AssignmentCode code, AssignmentCode factory);

// The media and shortcut names in table order.
const std::vector<std::string>& MediaWordNames();
const std::vector<std::string>& ShortcutWordNames();

}  // namespace zevik

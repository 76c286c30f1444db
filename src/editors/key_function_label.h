#pragma once
// How a function reads on a key button: a language key where one text names it ("media_play"), the
// text itself where it is put together (a key with its modifiers, "Shift+A") or is the user's (a
// macro's name). Codes no table names read as their hex digits.

#include <span>
#include <string>

#include "settings/assignment_code.h"

namespace zevik {

std::string KeyFunctionLabel(AssignmentCode code, std::span<const std::string> macroNames);

// The six hex digits of a code, "TTPPQQ".
std::string AssignmentHex(AssignmentCode code);

}  // namespace zevik

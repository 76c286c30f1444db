#pragma once
// Comparing user-given names with case ignored, for names in any script the language files use:
// a simple case fold of the Latin, Greek and Cyrillic letters (one code point to one code point).
// Invalid UTF-8 bytes compare as themselves.

#include <string>
#include <string_view>

namespace zevik {

std::u32string FoldedName(std::string_view utf8);
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace zevik

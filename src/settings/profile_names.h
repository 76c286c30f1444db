#pragma once
// The naming rules of profiles: how names compare, and how new names and file names are made.

#include <string>
#include <string_view>
#include <vector>

namespace zevik::profile_names {

// Names compare without regard to case ("Profile1" equals "profile1"); ASCII letters fold, other
// characters compare as they are.
bool SameName(std::string_view a, std::string_view b);
bool Contains(const std::vector<std::string>& names, std::string_view name);

// Leading and trailing white space removed.
std::string Trim(std::string_view text);

// "Profile%d" with the smallest n from 1 that no name holds.
std::string NewProfileName(const std::vector<std::string>& names);
// "%s copy", and again on the result while the name is taken: Game -> "Game copy" -> "Game copy copy".
std::string CopyName(std::string_view source, const std::vector<std::string>& names);
// title, then title + "(%d)" with n counting from 1, the suffixes accumulating while the name is
// taken: Game -> "Game(1)" -> "Game(1)(2)".
std::string ImportName(std::string_view title, const std::vector<std::string>& names);

// True when identifier can name a file in the kind folder: not empty, not "." or "..", no path
// separator, no NUL, not longer than a file name may be.
bool IsPlainIdentifier(std::string_view identifier);

}  // namespace zevik::profile_names

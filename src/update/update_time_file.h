#pragma once
// "updatetime.config" in the data root: the date of the last update check,
// {"updatelasttime": {"value": "Y-M-D"}} with no leading zeros.

#include <filesystem>
#include <string>

namespace zevik {

inline constexpr const char* kUpdateTimeFileName = "updatetime.config";

// Today's local date as "Y-M-D".
std::string UpdateDateText();

// The stored date; when there is none, today's date is written and returned. An unparsable file
// is moved aside (".bad") first.
std::string ReadOrStartUpdateTime(const std::filesystem::path& dataRoot);

// Stores date (atomically); false when it could not be written.
bool WriteUpdateTime(const std::filesystem::path& dataRoot, const std::string& date);

}  // namespace zevik

#pragma once
// A small INI file ("[SECTION]" lines and "KEY=value" lines) changed one value at a time: the file is
// read, the key set (its section added when missing), and the whole written back atomically. Every
// other line stays as it was.

#include <filesystem>
#include <string>
#include <string_view>

#include "settings/json_file_util.h"

namespace zevik {

JsonWriteResult WriteIniValue(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view value);

// The value of a key, "" when there is none.
std::string ReadIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key);

}  // namespace zevik

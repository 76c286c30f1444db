#pragma once
// A small INI file ("[SECTION]" lines and "KEY=value" lines) changed in place: the file is read, the
// keys set (the section added when missing), and the whole written back atomically, once. Every other
// line stays as it was.

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "settings/json_file_util.h"

namespace zevik {

struct IniValue {
    std::string_view key;
    std::string_view value;
};
JsonWriteResult WriteIniValues(const std::filesystem::path& file, std::string_view section,
                               std::initializer_list<IniValue> values);

// The value of a key, "" when there is none.
std::string ReadIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key);

}  // namespace zevik

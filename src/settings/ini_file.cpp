#include "settings/ini_file.h"

#include <fstream>
#include <system_error>
#include <vector>

namespace zevik {

namespace {

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool IsSection(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

bool IsKey(std::string_view line, std::string_view key) {
    return line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=';
}

// Sets one key in the lines, adding the section when missing.
void SetValue(std::vector<std::string>& lines, const std::string& header, std::string_view key,
              std::string_view value) {
    const std::string entry = std::string(key) + "=" + std::string(value);
    std::size_t at = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == header) {
            at = i;
            break;
        }
    }
    if (at == lines.size()) {
        lines.push_back(header);
        lines.push_back(entry);
        return;
    }
    std::size_t i = at + 1;
    for (; i < lines.size() && !IsSection(lines[i]); ++i) {
        if (IsKey(lines[i], key)) {
            lines[i] = entry;
            return;
        }
    }
    lines.insert(lines.begin() + static_cast<long>(i), entry);  // at the end of its section
}

}  // namespace

JsonWriteResult WriteIniValues(const std::filesystem::path& file, std::string_view section,
                               std::initializer_list<IniValue> values) {
    std::vector<std::string> lines = ReadLines(file);
    const std::string header = "[" + std::string(section) + "]";
    for (const IniValue& value : values) SetValue(lines, header, value.key, value.value);
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    return CJsonFileUtil().WriteTextFile(file, text);
}

std::string ReadIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key) {
    const std::string header = "[" + std::string(section) + "]";
    bool inSection = false;
    for (const std::string& line : ReadLines(file)) {
        if (IsSection(line)) {
            inSection = line == header;
        } else if (inSection && IsKey(line, key)) {
            return line.substr(key.size() + 1);
        }
    }
    return {};
}

}  // namespace zevik

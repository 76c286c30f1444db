#include "settings/profile_names.h"

#include <algorithm>

namespace zevik::profile_names {

namespace {
char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Fold(x) == Fold(y);
           });
}

bool Contains(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); });
}

std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string NewProfileName(const std::vector<std::string>& names) {
    for (int n = 1;; ++n) {
        std::string name = "Profile" + std::to_string(n);
        if (!Contains(names, name)) return name;
    }
}

std::string CopyName(std::string_view source, const std::vector<std::string>& names) {
    std::string name = std::string(source) + " copy";
    while (Contains(names, name)) name += " copy";
    return name;
}

std::string ImportName(std::string_view title, const std::vector<std::string>& names) {
    std::string name(title);
    for (int n = 1; Contains(names, name); ++n) name += "(" + std::to_string(n) + ")";
    return name;
}

bool IsPlainIdentifier(std::string_view identifier) {
    if (identifier.empty() || identifier == "." || identifier == ".." || identifier.size() > 200) return false;
    return identifier.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace zevik::profile_names

#include "ui/attribute_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zevik {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// Splits "a,b,c" into exactly count integers.
bool ParseInts(std::string_view text, int* out, int count) {
    for (int i = 0; i < count; ++i) {
        size_t comma = text.find(',');
        std::string_view part = (i == count - 1) ? text : text.substr(0, comma);
        if (i < count - 1 && comma == std::string_view::npos) return false;
        std::optional<int> v = ParseInt(part);
        if (!v) return false;
        out[i] = *v;
        if (i < count - 1) text.remove_prefix(comma + 1);
    }
    return true;
}

}  // namespace

std::optional<int> ParseInt(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<UiRect> ParseRect(std::string_view text) {
    int v[4] = {};
    if (!ParseInts(text, v, 4)) return std::nullopt;
    return UiRect{v[0], v[1], v[2], v[3]};
}

std::optional<UiSize> ParseSize(std::string_view text) {
    int v[2] = {};
    if (!ParseInts(text, v, 2)) return std::nullopt;
    return UiSize{v[0], v[1]};
}

std::optional<bool> ParseBool(std::string_view text) {
    text = Trim(text);
    if (EqualsNoCase(text, "true") || text == "1") return true;
    if (EqualsNoCase(text, "false") || text == "0") return false;
    return std::nullopt;
}

std::optional<UiColor> ParseColor(std::string_view text) {
    text = Trim(text);
    bool hash = false;
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
        hash = true;
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 8) return std::nullopt;
    UiColor value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    if (hash && text.size() == 6) value |= 0xFF000000u;
    return value;
}

std::optional<std::vector<std::pair<std::string, std::string>>> ParseAttributeList(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> out;
    size_t i = 0;
    auto skipSpace = [&] {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    };
    while (true) {
        skipSpace();
        if (i >= text.size()) break;
        size_t nameStart = i;
        while (i < text.size() && text[i] != '=' && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        std::string name(text.substr(nameStart, i - nameStart));
        skipSpace();
        if (name.empty() || i >= text.size() || text[i] != '=') return std::nullopt;
        ++i;
        skipSpace();
        if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) return std::nullopt;
        char quote = text[i++];
        size_t end = text.find(quote, i);
        if (end == std::string_view::npos) return std::nullopt;
        out.emplace_back(std::move(name), std::string(text.substr(i, end - i)));
        i = end + 1;
    }
    return out;
}

std::optional<TImageAttribute> ParseImageAttribute(std::string_view text) {
    std::string_view trimmed = Trim(text);
    TImageAttribute image;
    if (trimmed.find('=') == std::string_view::npos) {
        image.file = std::string(trimmed);
    } else {
        auto list = ParseAttributeList(trimmed);
        if (!list) return std::nullopt;
        for (const auto& [name, value] : *list) {
            if (name == "file" || name == "res") {
                image.file = value;
            } else if (name == "source") {
                if (!(image.source = ParseRect(value))) return std::nullopt;
            } else if (name == "dest") {
                if (!(image.dest = ParseRect(value))) return std::nullopt;
            } else if (name == "corner") {
                if (!(image.corner = ParseRect(value))) return std::nullopt;
            } else if (name == "fade") {
                std::optional<int> fade = ParseInt(value);
                if (!fade || *fade < 0 || *fade > 255) return std::nullopt;
                image.fade = *fade;
            } else if (name == "xtiled") {
                image.xtiled = ParseBool(value).value_or(false);
            } else if (name == "ytiled") {
                image.ytiled = ParseBool(value).value_or(false);
            }
            // Other keys (mask, hole, restype) do not change what is drawn here.
        }
    }
    std::replace(image.file.begin(), image.file.end(), '\\', '/');
    return image;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace zevik

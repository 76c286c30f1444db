#pragma once
// Numbers in the words of zevikctl and its batch scripts: the whole word is the number (no sign
// where T has none, no spaces, nothing after it).

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace zevik {

template <class T = long>
std::optional<T> WholeNumber(std::string_view text, int base = 10) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
    return value;
}

// A number in min ... max; else nothing, and error says what takes which range.
inline std::optional<int> NumberInRange(const std::string& what, const std::string& text, long min, long max,
                                        std::string& error) {
    const auto value = WholeNumber(text);
    if (!value || *value < min || *value > max) {
        error =
            what + " takes " + std::to_string(min) + " to " + std::to_string(max) + ", not \"" + text + "\"";
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

}  // namespace zevik

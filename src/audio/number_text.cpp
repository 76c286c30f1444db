#include "audio/number_text.h"

#include <fmt/format.h>

#include <charconv>
#include <cmath>
#include <system_error>

namespace zevik::number_text {

namespace {
std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

template <typename T>
std::optional<T> Parse(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    T value{};
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value);
    if (text.empty() || ec != std::errc() || end != last) return std::nullopt;
    return value;
}
}  // namespace

// fmt formats without the locale unless asked to with 'L'.
std::string Fixed2(double value) {
    std::string text = fmt::format("{:.2f}", value);
    // A level just below zero is shown as zero, without a sign.
    if (text == "-0.00") text.erase(0, 1);
    return text;
}
std::string Fraction(double value) {
    return fmt::format("{:.6f}", value);
}
std::string Integer(long value) {
    return fmt::format("{}", value);
}

std::optional<double> ParseNumber(std::string_view text) {
    const std::optional<double> value = Parse<double>(text);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::optional<long> ParseInteger(std::string_view text) {
    return Parse<long>(text);
}

}  // namespace zevik::number_text

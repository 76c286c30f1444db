#pragma once
// Numbers as the audio layer's property texts carry them: always with a dot and without grouping,
// whatever locale the program runs in (a German desktop must not turn "0.37" into "0,37" or read
// "0.37" as 0).

#include <optional>
#include <string>
#include <string_view>

namespace zevik::number_text {

// "%.2f": two decimals.
std::string Fixed2(double value);
// Enough decimals to carry a mixer position (0-1) without loss the page could see.
std::string Fraction(double value);
std::string Integer(long value);

// The whole text as a decimal number ("-12.50", "3", "1e2"); nullopt for anything else, an empty
// text included. Leading and trailing spaces are allowed.
std::optional<double> ParseNumber(std::string_view text);
// The whole text as a base-10 integer; nullopt otherwise (a fraction too).
std::optional<long> ParseInteger(std::string_view text);

}  // namespace zevik::number_text

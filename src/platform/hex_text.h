#pragma once
// Bytes as hexadecimal text: the emulator's state file and report log, the command line's output.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zevik {

// Lowercase two-digit hex per byte, joined by separator ("" for a compact string, " " for the log).
std::string FormatHexBytes(std::span<const uint8_t> bytes, std::string_view separator);

// Reads pairs of hex digits (either case); spaces between pairs are allowed. False, with bytes left
// empty, on any other character or an odd digit count.
bool ParseHexBytes(std::string_view text, std::vector<uint8_t>& bytes);

}  // namespace zevik

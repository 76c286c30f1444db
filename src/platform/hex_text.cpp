#include "platform/hex_text.h"

namespace zevik {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string FormatHexBytes(std::span<const uint8_t> bytes, std::string_view separator) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * (2 + separator.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i != 0) text += separator;
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

bool ParseHexBytes(std::string_view text, std::vector<uint8_t>& bytes) {
    bytes.clear();
    int high = -1;
    for (const char c : text) {
        if (c == ' ' && high < 0) continue;
        const int digit = HexDigit(c);
        if (digit < 0) {
            bytes.clear();
            return false;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace zevik

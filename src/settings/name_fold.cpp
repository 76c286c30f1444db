#include "settings/name_fold.h"

namespace zevik {

namespace {

char32_t FoldCodePoint(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;                  // Latin-1
    if (c >= 0x100 && c <= 0x137 && c != 0x130 && (c & 1) == 0) return c + 1;   // Latin Extended-A
    if (c >= 0x139 && c <= 0x148 && (c & 1) == 1) return c + 1;
    if (c >= 0x14A && c <= 0x177 && (c & 1) == 0) return c + 1;
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E && (c & 1) == 1) return c + 1;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;               // Greek
    if (c == 0x3C2) return 0x3C3;                                               // final sigma
    if (c == 0x386) return 0x3AC;                                               // accented Greek
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;                              // Cyrillic
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x460 && c <= 0x4FF && (c & 1) == 0 && !(c >= 0x482 && c <= 0x489) && c != 0x4C0) return c + 1;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;                            // full-width Latin
    return c;
}

}  // namespace

std::u32string FoldedName(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
        bool valid = length != 0 && i + length <= s.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back(0x110000 + b);  // outside Unicode: equal only to the same byte
            ++i;
            continue;
        }
        out.push_back(FoldCodePoint(c));
        i += static_cast<std::size_t>(length);
    }
    return out;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) { return FoldedName(a) == FoldedName(b); }

}  // namespace zevik

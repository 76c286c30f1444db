#include "ui/text_measure.h"

#include "ui/label_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

namespace {

// Code points a font draws at full width (the East Asian wide and full-width ranges that matter for
// the interface languages).
bool IsWide(char32_t cp) {
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0x303E) ||
           (cp >= 0x3041 && cp <= 0x33FF) || (cp >= 0x3400 && cp <= 0x4DBF) ||
           (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0xA000 && cp <= 0xA4CF) ||
           (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
           (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
}

// Decodes the code point at text[i] and advances i past it; a malformed sequence yields U+FFFD for
// its first byte.
char32_t NextCodePoint(std::string_view text, size_t& i) {
    constexpr size_t kBad = 4;
    const auto byte = [&text](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    const size_t extra = lead < 0x80    ? 0
                         : lead >= 0xF8 ? kBad
                         : lead >= 0xF0 ? 3
                         : lead >= 0xE0 ? 2
                         : lead >= 0xC0 ? 1
                                        : kBad;
    if (extra == kBad || i + extra >= text.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = extra == 0 ? lead : lead & (0x3Fu >> extra);
    for (size_t k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3Fu);
    }
    i += extra + 1;
    return cp;
}

}  // namespace

int EstimateTextWidth(std::string_view utf8, int pixelSize) {
    int narrow = 0;
    int wide = 0;
    for (size_t i = 0; i < utf8.size();) {
        if (IsWide(NextCodePoint(utf8, i))) {
            ++wide;
        } else {
            ++narrow;
        }
    }
    return (narrow * pixelSize * 3 + 4) / 5 + wide * pixelSize;
}

int FontPixelSizeOf(const CControlUI& control) {
    const CPaintManagerUI* manager = control.GetManager();
    if (manager == nullptr) return kFallbackFontSize;
    const TFontInfo* font = nullptr;
    if (const auto* label = dynamic_cast<const CLabelUI*>(&control);
        label != nullptr && label->GetFont() >= 0) {
        font = manager->GetFont(label->GetFont());
    }
    const int size = font != nullptr && font->iSize > 0    ? font->iSize
                     : manager->GetDefaultFont().iSize > 0 ? manager->GetDefaultFont().iSize
                                                           : kFallbackFontSize;
    return manager->Scale(size);
}

}  // namespace zevik

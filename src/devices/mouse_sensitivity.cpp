#include "devices/mouse_sensitivity.h"

#include <algorithm>
#include <cctype>

namespace zevik {

int MouseDpiShownValue(int value) {
    if (value <= 0) return 0;
    const long long rounded =
        (static_cast<long long>(value) + kMouseDpiStep - 1) / kMouseDpiStep * kMouseDpiStep;
    return static_cast<int>(std::min<long long>(rounded, 0x7FFFFFFF / kMouseDpiStep * kMouseDpiStep));
}

int MouseDpiFromText(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kMouseDpiMax) {  // saturate: more digits can only make it larger
            value = kMouseDpiMax;
            break;
        }
    }
    return MouseDpiClamp(static_cast<int>(value));
}

int MouseDpiClamp(int value) {
    return std::clamp(value, kMouseDpiMin, kMouseDpiMax);
}

}  // namespace zevik

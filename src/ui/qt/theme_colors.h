#pragma once
// The colours of the program's dark theme. Painted widgets and the style sheet take them from here so
// that one accent change restyles everything.

#include <QColor>

namespace zevik::theme {

inline QColor Window() {
    return QColor(0x14, 0x16, 0x1b);
}
inline QColor Panel() {
    return QColor(0x1c, 0x1f, 0x26);
}
inline QColor Control() {
    return QColor(0x26, 0x2a, 0x33);
}
inline QColor ControlHover() {
    return QColor(0x30, 0x35, 0x40);
}
inline QColor Border() {
    return QColor(0x36, 0x3b, 0x47);
}
inline QColor Text() {
    return QColor(0xe6, 0xe8, 0xee);
}
inline QColor TextDim() {
    return QColor(0x8a, 0x90, 0xa0);
}
inline QColor Accent() {
    return QColor(0xff, 0x46, 0x55);
}
inline QColor AccentDark() {
    return QColor(0xb8, 0x2a, 0x36);
}

}  // namespace zevik::theme

#pragma once
// Plain value types shared by every part of the UI library: geometry, colours and the scalar types of
// the window-message model (message numbers, parameters, results, window handles).

#include <cstdint>

namespace zevik {

using UINT = std::uint32_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A window handle: a process-wide serial number, 0 for "no window". Numbers are never reused, so a
// message addressed to a window that has gone is dropped instead of reaching a newer window.
using HWND = std::uint64_t;

// A colour as 0xAARRGGBB. 0 means "not set" wherever a colour attribute is optional.
using UiColor = std::uint32_t;

struct UiPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const UiPoint&, const UiPoint&) = default;
};

struct UiSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const UiSize&, const UiSize&) = default;
};

// Edges of a rectangle; right and bottom are exclusive.
struct UiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int GetWidth() const { return right - left; }
    int GetHeight() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(UiPoint pt) const { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }
    bool Intersects(const UiRect& o) const {
        return !IsEmpty() && !o.IsEmpty() && left < o.right && o.left < right && top < o.bottom &&
               o.top < bottom;
    }
    friend bool operator==(const UiRect&, const UiRect&) = default;
};

}  // namespace zevik

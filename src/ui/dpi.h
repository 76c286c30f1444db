#pragma once
// CDPI: the scale of one paint manager. Skins are written for 96 DPI; every length is multiplied by
// dpi / 96 and rounded to the nearest pixel (halves away from zero).

#include "ui/ui_types.h"

namespace zevik {

class CDPI {
public:
    static constexpr int kDefaultDpi = 96;

    int GetDPI() const { return m_dpi; }
    // Percent of the default scale (96 DPI = 100).
    int GetScale() const { return (m_dpi * 100 + kDefaultDpi / 2) / kDefaultDpi; }
    // Accepts 24..960; other values are ignored (false).
    bool SetDPI(int dpi);

    int Scale(int value) const;
    UiRect Scale(const UiRect& rc) const;
    UiSize Scale(const UiSize& size) const;
    UiPoint Scale(const UiPoint& pt) const;
    // The unscaled value of a scaled one.
    int ScaleBack(int value) const;

private:
    int m_dpi = kDefaultDpi;
};

}  // namespace zevik

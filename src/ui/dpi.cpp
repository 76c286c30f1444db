#include "ui/dpi.h"

namespace zevik {

bool CDPI::SetDPI(int dpi) {
    if (dpi < 24 || dpi > 960) return false;
    m_dpi = dpi;
    return true;
}

int CDPI::Scale(int value) const {
    long long scaled = static_cast<long long>(value) * m_dpi;
    long long half = kDefaultDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kDefaultDpi : -((-scaled + half) / kDefaultDpi));
}

UiRect CDPI::Scale(const UiRect& rc) const {
    return UiRect{Scale(rc.left), Scale(rc.top), Scale(rc.right), Scale(rc.bottom)};
}

UiSize CDPI::Scale(const UiSize& size) const { return UiSize{Scale(size.cx), Scale(size.cy)}; }

UiPoint CDPI::Scale(const UiPoint& pt) const { return UiPoint{Scale(pt.x), Scale(pt.y)}; }

int CDPI::ScaleBack(int value) const {
    long long unscaled = static_cast<long long>(value) * kDefaultDpi;
    long long half = m_dpi / 2;
    return static_cast<int>(unscaled >= 0 ? (unscaled + half) / m_dpi : -((-unscaled + half) / m_dpi));
}

}  // namespace zevik

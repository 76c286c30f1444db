#pragma once
// Text measurement without a renderer: a fixed-width estimate, so layouts that size controls to their
// texts (auto width) work headless, in tests and on the command line. A renderer measures with the
// real font instead (IUiBackend::MeasureTextWidth).

#include <string_view>

namespace zevik {

class CControlUI;

// The pixel size the estimate assumes for a control without any font (neither its own nor the
// manager's default), before DPI.
inline constexpr int kFallbackFontSize = 12;

// The width of UTF-8 text on one line at a font's pixel size: three fifths of the size for every
// narrow character, the whole size for every wide one (East Asian ideographs, kana, hangul,
// full-width forms), rounded up. Malformed bytes count as one narrow character each.
int EstimateTextWidth(std::string_view utf8, int pixelSize);

// The pixel size (DPI applied) of the font a control is shown with: its label font in the manager's
// table, else the manager's default font, else kFallbackFontSize.
int FontPixelSizeOf(const CControlUI& control);

}  // namespace zevik

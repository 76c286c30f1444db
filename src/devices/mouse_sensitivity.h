#pragma once
// Sensitivity (DPI) values of the mouse's six stages as the page shows and takes them.

#include <string_view>

namespace zevik {

inline constexpr int kMouseDpiMin = 50;  // the sliders' range
inline constexpr int kMouseDpiMax = 26000;
inline constexpr int kMouseDpiStep = 50;  // the edit boxes show multiples of this
inline constexpr int kMouseStageCount = 6;

// The value an edit box shows for a stored value: rounded up to the next multiple of 50
// (1201 -> 1250, 1200 -> 1200); negative values show as 0.
int MouseDpiShownValue(int value);

// A value typed into an edit box: its leading decimal digits (empty or no digits count as 0,
// anything after the digits is ignored), clamped to 50 ... 26000. Never overflows.
int MouseDpiFromText(std::string_view text);

// A value from a slider or a file, clamped to 50 ... 26000.
int MouseDpiClamp(int value);

}  // namespace zevik

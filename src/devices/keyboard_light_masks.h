#pragma once
// The operations on the four key masks that the flowing keyboard effects are built from.

#include <random>

#include "devices/keyboard_light_state.h"

namespace zevik {

// Every key whose cell is set in any mask gets level 255 and, with multicolour, a random hue 0..191.
void LightMaskedKeys(KeyboardLightState& state, bool multicolour, std::mt19937& random);
// A moves down and pulls from the right, D up from the right, B down from the left, C up from the
// left; a column outside the matrix counts as 0 and bits shifted out are lost.
void PropagateMasks(KeyboardLightState& state);
// A and C cleared; D moves one column left, B one column right.
void SpreadMasks(KeyboardLightState& state);
// Sets bit (0..7) of column in all four masks. Bits 6 and 7 lie below the last row: a seed there
// lights nothing until it moves up. A column or bit outside changes nothing.
void SetMaskBit(KeyboardLightState& state, int column, int bit);
// The four masks' bytes of a column ORed together (0 outside the matrix).
std::uint8_t MaskColumn(const KeyboardLightState& state, int column);

}  // namespace zevik

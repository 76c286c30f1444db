#pragma once
// The keyboard's layout lists for the lighting effects, all of logical keys (kNoKey where a slot is
// empty), laid out on the key matrix of lighting_tables.h: the rings around the centre key, the sweep
// order, the snake order, the rain rows, the column matrix and start phases of the twinkles, the
// sparkle's pick list and the light show's pairs and rows.

#include <array>
#include <cstdint>

#include "devices/lighting_tables.h"

namespace zevik::keyboard_layout {

inline constexpr int kRingCount = 12;
inline constexpr int kRingSlots = 12;
inline constexpr int kSweepLength = 170;
inline constexpr int kSweepUsed = 126;  // the sweep steps walk only these; the last 19 are holes
inline constexpr int kSweepKeys = 107;  // keys before the holes
inline constexpr int kSnakeLength = 170;
inline constexpr int kRainRows = 52;
inline constexpr int kRainKeys = 12;
inline constexpr int kColumnMatrixRows = 7;  // the seventh row holds no key
inline constexpr int kPickCount = 104;
inline constexpr int kPairCount = 16;
inline constexpr int kShowRows = 20;
inline constexpr int kShowKeys = 6;

using Ring = std::array<std::uint8_t, kRingSlots>;
const std::array<Ring, kRingCount>& Rings();
const std::array<std::uint8_t, kSweepLength>& SweepOrder();
// Every key of the matrix once, row by row, turning at each end; kNoKey after the last key.
const std::array<std::uint8_t, kSnakeLength>& SnakeOrder();
// Row t: twelve drops on matrix row t mod 6, every second column from (t / 6) mod 2 on.
const std::array<std::array<std::uint8_t, kRainKeys>, kRainRows>& RainRows();
// Column j, row r: the matrix key (j, r); row 6 is empty.
std::uint8_t ColumnMatrixKey(int column, int row);
// Start phase of entry 6j + r (0..137): column 0 is 72, 52, 32, 12, 182, 162; phases fall 20 a row
// and rise 10 a column, modulo 190. An index outside the table gives 0.
std::uint8_t StartPhase(int index);
// Indices of keys in the sweep order (never its holes), each at most once.
const std::array<std::uint8_t, kPickCount>& PickList();
// Pairs of keys mirrored about the keyboard's middle.
const std::array<std::array<std::uint8_t, 2>, kPairCount>& Pairs();
// Row c of the light show: the six keys of matrix column c + 1.
const std::array<std::array<std::uint8_t, kShowKeys>, kShowRows>& ShowRows();

// Where a logical key sits in the matrix; false when it is not in it.
bool FindKey(int key, int& column, int& row);

}  // namespace zevik::keyboard_layout

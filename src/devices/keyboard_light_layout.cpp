#include "devices/keyboard_light_layout.h"

#include <cstddef>
#include <initializer_list>

namespace zevik::keyboard_layout {
namespace {

using lighting::kMatrixColumns;
using lighting::kMatrixRows;
using lighting::kNoKey;
using lighting::MatrixKey;

std::array<Ring, kRingCount> MakeRings() {
    const std::initializer_list<std::initializer_list<int>> rings = {
        {51},
        {30, 50, 71, 72, 52, 31},
        {8, 29, 49, 70, 91, 92, 93, 73, 53, 32},
        {7, 28, 48, 69, 90, 109, 94, 74, 54, 33, 9, 62},
        {6, 27, 47, 68, 89, 110, 95, 75, 55, 34, 10, 11},
        {5, 26, 46, 67, 88, 108, 111, 112, 56, 35, 12, 125},
        {4, 25, 45, 66, 87, 113, 96, 57, 36, 13},
        {3, 24, 44, 65, 86, 114, 115, 58, 37, 15, 14},
        {2, 23, 43, 64, 85, 107, 97, 76, 59, 38},
        {1, 22, 42, 63, 84, 106, 116, 98, 77, 60, 39, 102},
        {0, 21, 105, 117, 99, 78, 61, 40},
        {118, 119, 41},
    };
    std::array<Ring, kRingCount> out{};
    size_t i = 0;
    for (const auto& ring : rings) {
        out[i].fill(kNoKey);
        size_t slot = 0;
        for (int key : ring) out[i][slot++] = static_cast<std::uint8_t>(key);
        ++i;
    }
    return out;
}

std::array<std::uint8_t, kSweepLength> MakeSweep() {
    std::array<std::uint8_t, kSweepLength> out{};
    out.fill(kNoKey);
    size_t n = 0;
    auto add = [&](int key) { out[n++] = static_cast<std::uint8_t>(key); };
    auto range = [&](int from, int to) {
        for (int k = from; from <= to ? k <= to : k >= to; k += from <= to ? 1 : -1) add(k);
    };
    range(15, 0);
    for (int k : {21, 42, 63, 84, 105, 106, 107, 108, 109, 125}) add(k);
    range(110, 119);
    range(41, 22);
    for (int k : {43, 64, 102}) add(k);
    range(85, 99);
    for (int k : {78, 61}) add(k);
    range(60, 44);
    range(65, 74);
    for (int k : {62, 75, 76, 77}) add(k);
    return out;
}

std::array<std::uint8_t, kSnakeLength> MakeSnake() {
    std::array<std::uint8_t, kSnakeLength> out{};
    out.fill(kNoKey);
    size_t n = 0;
    for (int row = 0; row < kMatrixRows; ++row) {
        for (int i = 0; i < kMatrixColumns; ++i) {
            const int column = row % 2 == 0 ? i : kMatrixColumns - 1 - i;
            const std::uint8_t key = MatrixKey(column, row);
            if (key != kNoKey) out[n++] = key;
        }
    }
    return out;
}

std::array<std::array<std::uint8_t, kRainKeys>, kRainRows> MakeRain() {
    std::array<std::array<std::uint8_t, kRainKeys>, kRainRows> out{};
    for (int t = 0; t < kRainRows; ++t) {
        const int row = t % kMatrixRows;
        const int first = (t / kMatrixRows) % 2;
        for (int q = 0; q < kRainKeys; ++q) {
            out[static_cast<size_t>(t)][static_cast<size_t>(q)] = MatrixKey(first + 2 * q, row);
        }
    }
    return out;
}

std::array<std::uint8_t, kPickCount> MakePicks() {
    std::array<std::uint8_t, kPickCount> out{};
    // Only the sweep's keys, not its closing holes; 37 and 107 share no factor, so no pick repeats.
    for (int i = 0; i < kPickCount; ++i)
        out[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i * 37 % kSweepKeys);
    return out;
}

std::array<std::array<std::uint8_t, 2>, kPairCount> MakePairs() {
    std::array<std::array<std::uint8_t, 2>, kPairCount> out{};
    for (int i = 0; i < kPairCount; ++i) {
        const int row = 1 + i / 8;
        const int offset = i % 8;
        out[static_cast<size_t>(i)] = {MatrixKey(2 + offset, row), MatrixKey(20 - offset, row)};
    }
    return out;
}

std::array<std::array<std::uint8_t, kShowKeys>, kShowRows> MakeShow() {
    std::array<std::array<std::uint8_t, kShowKeys>, kShowRows> out{};
    for (int c = 0; c < kShowRows; ++c) {
        for (int r = 0; r < kShowKeys; ++r)
            out[static_cast<size_t>(c)][static_cast<size_t>(r)] = MatrixKey(c + 1, r);
    }
    return out;
}

}  // namespace

const std::array<Ring, kRingCount>& Rings() {
    static const auto table = MakeRings();
    return table;
}
const std::array<std::uint8_t, kSweepLength>& SweepOrder() {
    static const auto table = MakeSweep();
    return table;
}
const std::array<std::uint8_t, kSnakeLength>& SnakeOrder() {
    static const auto table = MakeSnake();
    return table;
}
const std::array<std::array<std::uint8_t, kRainKeys>, kRainRows>& RainRows() {
    static const auto table = MakeRain();
    return table;
}
std::uint8_t ColumnMatrixKey(int column, int row) {
    return row >= kMatrixRows ? kNoKey : MatrixKey(column, row);
}
std::uint8_t StartPhase(int index) {
    if (index < 0 || index >= kMatrixColumns * kMatrixRows) return 0;
    const int column = index / kMatrixRows;
    const int row = index % kMatrixRows;
    const int phase = (72 - 20 * row + 10 * column) % 190;
    return static_cast<std::uint8_t>(phase < 0 ? phase + 190 : phase);
}
const std::array<std::uint8_t, kPickCount>& PickList() {
    static const auto table = MakePicks();
    return table;
}
const std::array<std::array<std::uint8_t, 2>, kPairCount>& Pairs() {
    static const auto table = MakePairs();
    return table;
}
const std::array<std::array<std::uint8_t, kShowKeys>, kShowRows>& ShowRows() {
    static const auto table = MakeShow();
    return table;
}

bool FindKey(int key, int& column, int& row) {
    if (key < 0 || key >= lighting::kLogicalKeyCount) return false;
    for (int j = 0; j < kMatrixColumns; ++j) {
        for (int r = 0; r < kMatrixRows; ++r) {
            if (MatrixKey(j, r) == key) {
                column = j;
                row = r;
                return true;
            }
        }
    }
    return false;
}

}  // namespace zevik::keyboard_layout

// The keyboard's layout lists follow its key matrix: every key they name is on the matrix, and the
// orders that walk the keyboard walk each key once.

#include "devices/keyboard_light_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace zevik::test {
namespace {

using lighting::kNoKey;

std::set<int> MatrixKeys() {
    std::set<int> keys;
    for (const auto& column : lighting::KeyMatrixTable())
        for (std::uint8_t key : column)
            if (key != kNoKey) keys.insert(key);
    return keys;
}

TEST(KeyboardLightLayout, WalksCoverEachMatrixKeyOnce) {
    const std::set<int> matrix = MatrixKeys();
    std::set<int> snake;
    int snakeKeys = 0;
    for (std::uint8_t key : keyboard_layout::SnakeOrder()) {
        if (key == kNoKey) continue;
        ++snakeKeys;
        snake.insert(key);
    }
    EXPECT_EQ(snake, matrix);
    EXPECT_EQ(snakeKeys, static_cast<int>(matrix.size()));
    EXPECT_EQ(keyboard_layout::SnakeOrder()[0], 0);

    std::set<int> sweep;
    const auto& order = keyboard_layout::SweepOrder();
    constexpr int kSweepKeys = keyboard_layout::kSweepKeys;  // the used part closes with 19 holes
    EXPECT_EQ(kSweepKeys, 107);
    for (int i = 0; i < kSweepKeys; ++i) {
        EXPECT_TRUE(matrix.count(order[static_cast<size_t>(i)])) << i;
        sweep.insert(order[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(sweep.size(), static_cast<size_t>(kSweepKeys));
    for (int i = kSweepKeys; i < keyboard_layout::kSweepLength; ++i)
        EXPECT_EQ(order[static_cast<size_t>(i)], kNoKey) << i;

    std::set<int> rings;
    for (const auto& ring : keyboard_layout::Rings())
        for (std::uint8_t key : ring)
            if (key != kNoKey) {
                EXPECT_TRUE(rings.insert(key).second) << static_cast<int>(key);
            }
    EXPECT_EQ(keyboard_layout::Rings()[0][0], 51);
    EXPECT_EQ(keyboard_layout::Rings()[0][1], kNoKey);
}

TEST(KeyboardLightLayout, ListsNameOnlyMatrixKeys) {
    const std::set<int> matrix = MatrixKeys();
    auto onMatrix = [&](std::uint8_t key) { return key == kNoKey || matrix.count(key) == 1; };
    for (const auto& row : keyboard_layout::RainRows())
        for (std::uint8_t key : row) EXPECT_TRUE(onMatrix(key));
    for (const auto& pair : keyboard_layout::Pairs())
        for (std::uint8_t key : pair) EXPECT_TRUE(onMatrix(key));
    for (const auto& row : keyboard_layout::ShowRows())
        for (std::uint8_t key : row) EXPECT_TRUE(onMatrix(key));
    EXPECT_EQ(keyboard_layout::RainRows()[0][1], 0);  // row 0 of the matrix: column 2
    std::set<int> picks(keyboard_layout::PickList().begin(), keyboard_layout::PickList().end());
    EXPECT_EQ(picks.size(), static_cast<size_t>(keyboard_layout::kPickCount));
    EXPECT_LT(*picks.rbegin(), keyboard_layout::kSweepKeys);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(keyboard_layout::ColumnMatrixKey(4, r), lighting::MatrixKey(4, r));
    EXPECT_EQ(keyboard_layout::ColumnMatrixKey(4, 6), kNoKey);
}

TEST(KeyboardLightLayout, StartPhasesOfTheFirstColumn) {
    const int expected[] = {72, 52, 32, 12, 182, 162};
    for (int r = 0; r < 6; ++r) EXPECT_EQ(keyboard_layout::StartPhase(r), expected[r]) << r;
    EXPECT_EQ(keyboard_layout::StartPhase(6), 82);
    EXPECT_EQ(keyboard_layout::StartPhase(-1), 0);
    EXPECT_EQ(keyboard_layout::StartPhase(138), 0);
}

TEST(KeyboardLightLayout, FindKeyGivesTheMatrixCell) {
    int column = -1, row = -1;
    ASSERT_TRUE(keyboard_layout::FindKey(64, column, row));
    EXPECT_EQ(column, 2);
    EXPECT_EQ(row, 3);
    EXPECT_FALSE(keyboard_layout::FindKey(170, column, row));
    EXPECT_FALSE(keyboard_layout::FindKey(-3, column, row));
}

}  // namespace
}  // namespace zevik::test

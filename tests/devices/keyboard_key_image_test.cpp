#include <gtest/gtest.h>

#include <array>

#include "devices/keyboard_colour_slots.h"
#include "devices/keyboard_key_image.h"

namespace zevik {
namespace {

// A small keyboard: five logical keys with distinct factory triples, logical keys 126 and 127
// sharing the blank triple 20 00 00 with logical key 3; positions in another order than the keys.
struct SmallBoard {
    std::vector<AssignmentCode> defaults = std::vector<AssignmentCode>(kKeyboardLogicalKeys, {0x20, 0x00, 0x00});
    std::array<uint8_t, kKeyboardLogicalKeys> positionOf{};
    std::vector<uint8_t> table;  // N x 3, as 0x07 reports it
    std::vector<KeyAssignRecord> keys;

    SmallBoard() {
        defaults[0] = {0x20, 0x00, 0x29};
        defaults[1] = {0x20, 0x00, 0x3A};
        defaults[2] = {0xA0, 0x1B, 0x00};
        defaults[4] = {0xD0, 0xA2, 0x01};
        defaults[125] = {0x20, 0x80, 0x00};
        positionOf.fill(kKeyboardNoPosition);
        // position -> logical key: 0 -> 2, 1 -> 0, 2 -> 3 (blank), 3 -> 1, 4 -> 125; key 4 missing.
        const std::vector<int> logicalAt = {2, 0, 3, 1, 125};
        for (size_t k = 0; k < logicalAt.size(); ++k) {
            const AssignmentCode c = defaults[static_cast<size_t>(logicalAt[k])];
            table.insert(table.end(), {c.type, c.p1, c.p2});
            positionOf[static_cast<size_t>(logicalAt[k])] = static_cast<uint8_t>(k);
        }
        positionOf[126] = positionOf[127] = 2;  // the blank keys take the first blank position
        keys = FactoryKeyLayer(defaults);
    }
    void Set(size_t key, AssignmentCode code) { keys[key].assignment = code; }
    AssignmentCode At(const std::vector<uint8_t>& image, size_t position) const {
        return {image[3 * position], image[3 * position + 1], image[3 * position + 2]};
    }
};

TEST(KeyboardKeyLayers, FactoryListsGiveTheKeyCodeTable) {
    const SmallBoard board;
    EXPECT_EQ(BuildKeyboardLayer1Image(board.table, board.positionOf, board.keys, board.defaults, 8).image,
              board.table);
    EXPECT_EQ(BuildKeyboardLayer2Image(board.table, board.positionOf, board.keys, board.defaults), board.table);
}

TEST(KeyboardKeyLayers, EachKeyLandsAtItsPosition) {
    struct Case {
        size_t key;
        AssignmentCode code;
        int position;        // where layer 1 shows it; -1: nowhere
        int layer2Position;  // where layer 2 shows it; -1: nowhere
    };
    const std::vector<Case> cases = {
        {0, {0x30, 0xCD, 0x00}, 1, 1},
        {2, {0x20, 0x02, 0x04}, 0, 0},
        {125, {0x40, 0x01, 0x00}, 4, 4},  // the last key layer 1 carries
        {4, {0x20, 0x00, 0x04}, -1, -1},  // the keyboard lacks key 4
        {126, {0x20, 0x00, 0x05}, -1, 2}, // beyond layer 1; layer 2 carries every key
        {3, {0x20, 0x00, 0x06}, 2, 2},    // a blank key's change survives the blank keys after it
    };
    for (const Case& c : cases) {
        SmallBoard board;
        board.Set(c.key, c.code);
        const auto one = BuildKeyboardLayer1Image(board.table, board.positionOf, board.keys, board.defaults, 8).image;
        const auto two = BuildKeyboardLayer2Image(board.table, board.positionOf, board.keys, board.defaults);
        for (const auto& [image, want] : {std::pair{one, c.position}, std::pair{two, c.layer2Position}}) {
            std::vector<uint8_t> expected = board.table;
            if (want >= 0) {
                expected[3 * static_cast<size_t>(want)] = c.code.type;
                expected[3 * static_cast<size_t>(want) + 1] = c.code.p1;
                expected[3 * static_cast<size_t>(want) + 2] = c.code.p2;
            }
            EXPECT_EQ(image, expected) << "key " << c.key;
        }
    }
}

TEST(KeyboardKeyLayers, LayerOneNumbersItsMacrosInOrderOfFirstUse) {
    SmallBoard board;
    board.Set(0, {0x70, 7, 2});
    board.Set(1, {0x71, 3, 10});
    board.Set(2, {0x70, 7, 0});
    const KeyLayerImage out = BuildKeyboardLayer1Image(board.table, board.positionOf, board.keys, board.defaults, 8);
    EXPECT_EQ(out.macros, (std::vector<int>{7, 3}));
    EXPECT_EQ(board.At(out.image, 1), (AssignmentCode{0x70, 0, 2}));
    EXPECT_EQ(board.At(out.image, 3), (AssignmentCode{0x71, 1, 10}));
    EXPECT_EQ(board.At(out.image, 0), (AssignmentCode{0x70, 0, 0}));
    EXPECT_EQ(board.keys[0].assignment, (AssignmentCode{0x70, 7, 2}));  // the list keeps its numbers
}

TEST(KeyboardKeyLayers, MacrosBeyondTheListAndInLayerTwoFallBackToTheFactoryTriple) {
    for (const int macroCount : {8, 5}) {  // macro 9 with eight and with five macros listed
        SmallBoard board;
        board.Set(0, {0x70, 9, 0});
        board.Set(1, {0x70, 4, 0});
        const KeyLayerImage out =
            BuildKeyboardLayer1Image(board.table, board.positionOf, board.keys, board.defaults, macroCount);
        EXPECT_EQ(board.At(out.image, 1), board.defaults[0]) << macroCount;
        EXPECT_EQ(board.At(out.image, 3), (AssignmentCode{0x70, 0, 0})) << macroCount;
        EXPECT_EQ(out.macros, std::vector<int>{4}) << macroCount;
    }
    SmallBoard board;
    board.Set(0, {0x70, 0, 0});
    board.Set(1, {0x71, 1, 3});
    EXPECT_EQ(BuildKeyboardLayer2Image(board.table, board.positionOf, board.keys, board.defaults), board.table);
}

TEST(KeyboardKeyLayers, ShortOrMissingInputsChangeNothingOutsideThem) {
    SmallBoard board;
    const std::vector<KeyAssignRecord> none;
    EXPECT_EQ(BuildKeyboardLayer1Image(board.table, board.positionOf, none, board.defaults, 8).image, board.table);
    const std::vector<uint8_t> noTable;
    EXPECT_TRUE(BuildKeyboardLayer2Image(noTable, board.positionOf, board.keys, board.defaults).empty());
    // A table cut inside a triple keeps its whole triples only; a key mapped past it is dropped.
    board.Set(125, {0x40, 0x01, 0x00});
    const std::vector<uint8_t> cut(board.table.begin(), board.table.begin() + 13);
    EXPECT_EQ(BuildKeyboardLayer2Image(cut, board.positionOf, board.keys, board.defaults),
              std::vector<uint8_t>(board.table.begin(), board.table.begin() + 12));
}

TEST(KeyboardColourSlots, ASlotMustEndWithinTheSixteenBitAddresses) {
    struct Case {
        int slot, positions;
        bool fits;
    };
    const std::vector<Case> cases = {
        {0, 109, true},    {7, 109, true},   {127, 170, true},  // 65024 + 510
        {128, 0, true},    {128, 1, false},  {200, 109, false}, {255, 109, false},
        {256, 0, false},   {-1, 109, false}, {0, -3, false},
    };
    for (const Case& c : cases) EXPECT_EQ(ColourSlotFits(c.slot, c.positions), c.fits) << c.slot << " " << c.positions;
}

}  // namespace
}  // namespace zevik

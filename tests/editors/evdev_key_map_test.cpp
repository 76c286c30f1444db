#include "editors/evdev_key_map.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>

#include "editors/key_tables.h"

namespace zevik {
namespace {

std::string RowName(int row) { return row < 0 ? "none" : std::string(KeyRowName(KeyTable()[static_cast<size_t>(row)])); }

TEST(EvdevKeyMap, KeysReachTheirRowsByTheCodeLinuxGivesTheirUsage) {
    const struct {
        std::uint16_t code;
        const char* row;
    } cases[] = {
        {KEY_RIGHTCTRL, "RCtrl"}, {KEY_LEFTCTRL, "LCtrl"},     {KEY_KPENTER, "Num Enter"},
        {KEY_ENTER, "Enter"},     {KEY_RIGHTALT, "RAlt"},      {KEY_LEFTMETA, "LWin"},
        {KEY_COMPOSE, "App"},     {KEY_KPSLASH, "Num /"},      {KEY_102ND, "K45"},
        {KEY_A, "A"},             {KEY_0, "0"},                {KEY_F12, "F12"},
        {KEY_PAGEUP, "Page Up"},  {KEY_LEFT, "Left"},          {KEY_SYSRQ, "Print Scr"},
        {KEY_BACKSLASH, "xiegang"}, {KEY_HANGEUL, "K151"},     {KEY_KPDOT, "Decimal"},
    };
    for (const auto& c : cases) EXPECT_EQ(RowName(KeyRowOfEvdevCode(c.code)), c.row) << c.code;
    for (const int dropped : {KEY_MUTE, KEY_FN, KEY_F13, BTN_LEFT, KEY_CNT + 5})
        EXPECT_EQ(KeyRowOfEvdevCode(static_cast<std::uint16_t>(dropped)), -1) << dropped;
}

TEST(EvdevKeyMap, EveryCapturedRowIsReachedByExactlyOneCode) {
    std::set<int> rows;
    for (std::uint16_t code = 0; code < KEY_CNT; ++code) {
        const int row = KeyRowOfEvdevCode(code);
        if (row < 0) continue;
        EXPECT_LT(row, kCapturedKeyRows);
        EXPECT_TRUE(rows.insert(row).second) << "row " << RowName(row) << " twice";
    }
    EXPECT_EQ(rows.size(), static_cast<size_t>(kCapturedKeyRows));
}

TEST(EvdevKeyMap, MouseButtonsGiveTheirBitsAndNothingElseDoes) {
    EXPECT_EQ(ButtonBitOfEvdevCode(BTN_LEFT), 0x01);
    EXPECT_EQ(ButtonBitOfEvdevCode(BTN_RIGHT), 0x02);
    EXPECT_EQ(ButtonBitOfEvdevCode(BTN_MIDDLE), 0x04);
    EXPECT_EQ(ButtonBitOfEvdevCode(BTN_SIDE), 0x08);
    EXPECT_EQ(ButtonBitOfEvdevCode(BTN_BACK), 0x08);
    EXPECT_EQ(ButtonBitOfEvdevCode(BTN_EXTRA), 0x10);
    EXPECT_EQ(ButtonBitOfEvdevCode(BTN_FORWARD), 0x10);
    EXPECT_EQ(ButtonBitOfEvdevCode(BTN_TASK), 0);
    EXPECT_EQ(ButtonBitOfEvdevCode(KEY_A), 0);
}

}  // namespace
}  // namespace zevik

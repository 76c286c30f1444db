#include "editors/key_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zevik {
namespace {

struct RowCase {
    std::span<const KeyTableRow> (*table)();
    int row;
    std::uint16_t key;
    AssignmentCode code;
    const char* displayKey;
};

TEST(KeyTables, SizesAndSampleRowsMatchTheDeviceCodes) {
    EXPECT_EQ(MouseButtonTable().size(), 5u);
    EXPECT_EQ(DpiTable().size(), 3u);
    EXPECT_EQ(SystemTable().size(), 3u);
    EXPECT_EQ(MediaTable().size(), 18u);
    EXPECT_EQ(ShortcutTable().size(), 11u);
    EXPECT_EQ(KeyTable().size(), 142u);
    EXPECT_EQ(GunNames().size(), 4u);

    const RowCase cases[] = {
        {MouseButtonTable, 1, 1, {0x10, 0x04, 0}, "mouse_key_middle"},
        {MouseButtonTable, 4, 4, {0x10, 0x08, 0}, "mouse_key_back"},
        {DpiTable, 2, 2, {0x13, 3, 0}, "mouse_key_DPI_loop"},
        {SystemTable, 2, 2, {0x40, 4, 0}, "system_wake_up"},
        {MediaTable, 0, 0, {0x30, 0x83, 0x01}, "media_text"},
        {MediaTable, 17, 17, {0x30, 0x8A, 0x01}, "media_mail"},
        {ShortcutTable, 10, 10, {0x20, 0x10, 0x2E}, "custem_magnify"},
        {KeyTable, 0, 0xA2, {0x20, 0x01, 0}, "keyboard_key_LCtrl"},
        {KeyTable, 7, 0x5C, {0x20, 0x80, 0}, "keyboard_key_RWin"},
        {KeyTable, 8, 0x41, {0x20, 0, 0x04}, "keyboard_key_A"},
        {KeyTable, 43, 0x30, {0x20, 0, 0x27}, "keyboard_key_0"},
        {KeyTable, 44, 0x0D, {0x20, 0, 0x28}, "keyboard_key_Enter"},
        {KeyTable, 72, 0x7B, {0x20, 0, 0x45}, "keyboard_key_F12"},
        {KeyTable, 91, 0x101, {0x20, 0, 0x58}, "keyboard_key_Num Enter"},
        {KeyTable, 113, 0xBF, {0x20, 0, 0x32}, "keyboard_key_K42"},
        {KeyTable, 114, 0xB7, {0x30, 0x92, 0x01}, "keyboard_key_Launch App2"},
        {KeyTable, 130, 0xA9, {0x30, 0x26, 0x02}, "wed_stop"},
        {KeyTable, 132, 0x103, {0x40, 1, 0}, "keyboard_key_Power"},
        {KeyTable, 139, 0, {0xD0, 0xA2, 5}, "keyboard_key_M5"},
        {KeyTable, 141, 0, {0xA0, 0x1B, 0}, "keyboard_key_GM"},
    };
    for (const RowCase& c : cases) {
        const KeyTableRow& r = c.table()[static_cast<size_t>(c.row)];
        SCOPED_TRACE(c.displayKey);
        EXPECT_EQ(r.key, c.key);
        EXPECT_EQ(r.code, c.code);
        EXPECT_STREQ(r.displayKey, c.displayKey);
    }
}

TEST(KeyTables, OrdinaryKeysHaveDistinctUsagesAndVirtualKeysAreUniqueButForTheUnnamedOnes) {
    std::set<int> usages;
    std::set<int> keys;
    for (size_t i = kFirstOrdinaryKeyRow; i < KeyTable().size(); ++i) {
        const KeyTableRow& r = KeyTable()[i];
        if (r.code.type != 0x20) continue;
        EXPECT_EQ(r.code.p1, 0) << r.displayKey;
        EXPECT_TRUE(usages.insert(r.code.p2).second) << r.displayKey;
        // 0xFF marks keys without a virtual key; K42 shares "/"'s virtual key on its own layout.
        if (r.key != 0xFF && std::string_view(r.displayKey) != "keyboard_key_K42") {
            EXPECT_TRUE(keys.insert(r.key).second) << r.displayKey;
        }
    }
}

TEST(KeyTables, LookupsByNameCodeUsageAndModifier) {
    EXPECT_EQ(FindKeyRowByName("A"), 8);
    EXPECT_EQ(FindKeyRowByName("numenter"), 91);
    EXPECT_EQ(FindKeyRowByName("PageUp"), FindKeyRowByName("Page Up"));
    EXPECT_EQ(KeyRowName(KeyTable()[static_cast<size_t>(FindKeyRowByName("PageUp"))]), "Page Up");
    EXPECT_EQ(FindKeyRowByName("lctrl"), 0);
    EXPECT_EQ(FindKeyRowByName("Num"), -1);
    EXPECT_EQ(FindKeyRowByName(""), -1);
    EXPECT_EQ(FindKeyRowByName("NoSuchKey"), -1);

    EXPECT_EQ(FindRowByCode(MediaTable(), {0x30, 0xE2, 0x00}), 7);
    EXPECT_EQ(FindRowByCode(MediaTable(), {0x30, 0xE2, 0x01}), -1);
    EXPECT_EQ(FindOrdinaryKeyRow(0x04), 8);
    EXPECT_EQ(FindOrdinaryKeyRow(0x58), 91);
    EXPECT_EQ(FindOrdinaryKeyRow(0xF0), -1);
    EXPECT_EQ(FindOrdinaryKeyRow(0x00), -1);  // the modifiers' p2 is 0 too, yet they are no ordinary key
    EXPECT_EQ(FindModifierRow(0x20), 5);
    EXPECT_EQ(FindModifierRow(0x03), -1);
}

}  // namespace
}  // namespace zevik

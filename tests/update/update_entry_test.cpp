#include "update/update_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace zevik::test {
namespace {

TEST(UpdateTable, FourRowsFirmwareInHexTheProgramInDecimalUnderAll) {
    const UpdateTable table = MakeUpdateTable();
    EXPECT_EQ(Row(table, UpdateRow::Mouse).hexVersion, 1u);
    EXPECT_EQ(Row(table, UpdateRow::Receiver).hexVersion, 1u);
    EXPECT_EQ(Row(table, UpdateRow::Receiver).kind, kUpdateKindReceiver);
    EXPECT_EQ(Row(table, UpdateRow::Mousepad).hexVersion, 1u);
    EXPECT_EQ(Row(table, UpdateRow::Software).hexVersion, 0u);
    EXPECT_EQ(Row(table, UpdateRow::Software).code, kUpdateCodeSoftware);
    EXPECT_EQ(Row(table, UpdateRow::Software).displayName, "Driver");
    for (const UpdateEntry& row : table) {
        EXPECT_EQ(row.currentVersion, 0u) << row.name;
        EXPECT_FALSE(row.vendor.empty()) << row.name;
        EXPECT_FALSE(row.code.empty()) << row.name;
        if (&row != &Row(table, UpdateRow::Receiver)) {
            EXPECT_NE(row.kind, kUpdateKindReceiver) << row.name;
        }
    }
}

TEST(UpdateTable, RefreshTakesWhatIsInstalledAndForgetsWhatWentAway) {
    UpdateTable table = MakeUpdateTable();
    InstalledVersions now;
    now.mouseFirmware = 0x010F;
    now.mousepadFirmware = 0x0203;
    now.receiver = InstalledVersions::ReceiverVersion{0x01, 0x06};
    now.software = 107;
    now.softwareText = "1.0.7";
    RefreshUpdateVersions(table, now);
    EXPECT_EQ(Row(table, UpdateRow::Mouse).currentVersion, 0x010Fu);
    EXPECT_EQ(Row(table, UpdateRow::Mousepad).currentVersion, 0x0203u);
    EXPECT_EQ(Row(table, UpdateRow::Receiver).currentVersion, 0x0106u);
    EXPECT_EQ(Row(table, UpdateRow::Software).currentVersion, 107u);
    EXPECT_EQ(Row(table, UpdateRow::Software).versionText, "1.0.7");

    // The devices unplugged: their rows are absent again; the program's text stays.
    InstalledVersions later;
    later.software = 108;
    RefreshUpdateVersions(table, later);
    EXPECT_EQ(Row(table, UpdateRow::Mouse).currentVersion, 0u);
    EXPECT_EQ(Row(table, UpdateRow::Mousepad).currentVersion, 0u);
    EXPECT_EQ(Row(table, UpdateRow::Receiver).currentVersion, 0u);
    EXPECT_EQ(Row(table, UpdateRow::Software).currentVersion, 108u);
    EXPECT_EQ(Row(table, UpdateRow::Software).versionText, "1.0.7");
}

}  // namespace
}  // namespace zevik::test

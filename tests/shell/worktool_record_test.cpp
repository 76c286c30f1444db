#include "shell/worktool_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace zevik::test {
namespace {

// The 32-bit little-endian value at index i of the record.
std::uint32_t ValueAt(const WorkToolRecord& record, std::size_t i) {
    return static_cast<std::uint32_t>(record[4 * i]) | static_cast<std::uint32_t>(record[4 * i + 1]) << 8 |
           static_cast<std::uint32_t>(record[4 * i + 2]) << 16 |
           static_cast<std::uint32_t>(record[4 * i + 3]) << 24;
}

TEST(WorkToolRecord, TheProgramsTableGivesTheseBytesAndZeroAfterThem) {
    UpdateTable table = MakeUpdateTable();
    InstalledVersions installed;
    installed.mouseFirmware = 0x0110;
    installed.receiver = InstalledVersions::ReceiverVersion{0x01, 0x06};
    installed.software = 107;
    RefreshUpdateVersions(table, installed);

    const WorkToolRecord record = BuildWorkToolRecord(table);
    // clang-format off
    const std::vector<std::uint8_t> expected = {
        2, 0, 0, 0,   3, 0, 0, 0,   0, 0, 0, 0,         2, 0, 0, 0,  // header
        4, 0, 0, 0,                                                  // rows
        1, 0, 0, 0,   2, 0, 0, 0,   0x10, 0x01, 0, 0,                // mouse, hex, 0x0110
        1, 0, 0, 0,   3, 0, 0, 0,   0x06, 0x01, 0, 0,                // receiver, hex, 0x0106
        1, 0, 0, 0,   4, 0, 0, 0,   0, 0, 0, 0,                      // mousepad, absent
        0, 0, 0, 0,   0, 0, 0, 0,   107, 0, 0, 0,                    // the program, decimal 107
    };
    // clang-format on
    ASSERT_EQ(record.size(), 1024u);
    for (std::size_t i = 0; i < record.size(); ++i) {
        const std::uint8_t want = i < expected.size() ? expected[i] : 0;
        ASSERT_EQ(record[i], want) << "byte " << i;
    }
}

TEST(WorkToolRecord, ValuesUseAllFourBytesAndTooManyRowsAreCutToWhatFits) {
    std::vector<UpdateEntry> rows(90);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].hexVersion = 1;
        rows[i].kind = static_cast<std::uint32_t>(i);
        rows[i].currentVersion = 0xA1B2C3D4u + static_cast<std::uint32_t>(i);
    }
    const WorkToolRecord record = BuildWorkToolRecord(rows);
    EXPECT_EQ(ValueAt(record, 4), 83u);  // (256 values - 5) / 3
    EXPECT_EQ(ValueAt(record, 5 + 3 * 82 + 1), 82u);
    EXPECT_EQ(ValueAt(record, 5 + 3 * 82 + 2), 0xA1B2C3D4u + 82);
    EXPECT_EQ(ValueAt(record, 255), 0u);  // the one value left after the last whole row

    const WorkToolRecord empty = BuildWorkToolRecord({});
    EXPECT_EQ(ValueAt(empty, 3), 2u);
    EXPECT_EQ(ValueAt(empty, 4), 0u);
    EXPECT_EQ(ValueAt(empty, 5), 0u);
}

}  // namespace
}  // namespace zevik::test

#include "devices/mouse_notification.h"

#include <gtest/gtest.h>

#include "devices/mouse_sensitivity.h"

namespace zevik {
namespace {

using Kind = MouseNotification::Kind;

TEST(MouseNotificationDecode, Codes) {
    struct Case {
        uint16_t usage;
        Kind kind;
        int slot;
        int stage;
    };
    const std::vector<Case> cases = {
        {0x0401, Kind::Resync, 0, 0},      {0x0402, Kind::Resync, 0, 0}, {0x0403, Kind::KeyPress, 0, 0},
        {0x1123, Kind::SlotStage, 3, 2},   {0x1005, Kind::Slot, 5, 0},   {0x10F7, Kind::Slot, 7, 0},
        {0x11FF, Kind::SlotStage, 15, 15}, {0x0700, Kind::None, 0, 0},   {0x0400, Kind::None, 0, 0},
        {0x1200, Kind::None, 0, 0},        {0x0000, Kind::None, 0, 0},
    };
    for (const Case& c : cases) {
        const MouseNotification n = DecodeMouseNotification(c.usage);
        EXPECT_EQ(n.kind, c.kind) << std::hex << c.usage;
        EXPECT_EQ(n.slot, c.slot) << std::hex << c.usage;
        EXPECT_EQ(n.stage, c.stage) << std::hex << c.usage;
    }
}

TEST(MouseOldFirmware, Thresholds) {
    struct Case {
        uint16_t vendor, product, version;
        bool notice;
    };
    const std::vector<Case> cases = {
        {0x320F, 0x225A, 0x0110, false}, {0x320F, 0x225A, 0x010F, true},  {0x320F, 0x225A, 0x0000, true},
        {0x320F, 0x225B, 0x0106, false}, {0x320F, 0x225B, 0x0105, true},  {0x320F, 0x225B, 0x010F, false},
        {0x320F, 0x1004, 0x0001, false}, {0x1234, 0x225A, 0x0001, false},
    };
    for (const Case& c : cases) {
        const auto notice = MouseOldFirmwareNotice(c.vendor, c.product, c.version);
        ASSERT_EQ(notice.has_value(), c.notice) << std::hex << c.product << " " << c.version;
        if (notice) {
            EXPECT_EQ(notice->productId, c.product);
            EXPECT_EQ(notice->version, c.version);
        }
    }
}

TEST(MouseSensitivity, ShownValueRoundsUpToFifty) {
    const std::vector<std::pair<int, int>> cases = {{1201, 1250},   {1200, 1200}, {50, 50}, {51, 100},
                                                    {26000, 26000}, {0, 0},       {-10, 0}};
    for (const auto& [value, shown] : cases) EXPECT_EQ(MouseDpiShownValue(value), shown) << value;
}

TEST(MouseSensitivity, TypedValueIsClamped) {
    const std::vector<std::pair<const char*, int>> cases = {
        {"30", 50},      {"", 50},    {"1600", 1600}, {"26001", 26000}, {"99999999999999999999", 26000},
        {"800dpi", 800}, {"abc", 50}, {" 400", 400},  {"-400", 50},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(MouseDpiFromText(text), value) << text;
    EXPECT_EQ(MouseDpiClamp(10), 50);
    EXPECT_EQ(MouseDpiClamp(30000), 26000);
}

}  // namespace
}  // namespace zevik

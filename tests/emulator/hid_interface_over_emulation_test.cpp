// The emulated mouse as the program's HID layer sees it: its descriptor parsed by CHidInterface gives
// the collections, report lengths and notification usages that discovery and the devices expect.

#include <gtest/gtest.h>

#include "mouse_fixture.h"
#include "transport/hid_interface.h"

namespace zevik::test {
namespace {

// Report lengths as Windows gives them: the largest report plus one byte for the report id, also
// when the node uses none (interface 0: 1 + 4 + 1 data bytes).
struct CollectionCase {
    const char* path;
    uint16_t usagePage;
    uint16_t usage;
    uint16_t inputLength;
    uint16_t outputLength;
    uint32_t interfaceNumber;
    uint32_t collection;
};

class HidInterfaceOverEmulationTest : public MouseFixture {};

TEST_F(HidInterfaceOverEmulationTest, CollectionsMatchTheCatalogue) {
    const CollectionCase cases[] = {
        {kCablePath, 0xFF1C, 0x92, 64, 64, 1, 4},
        {kReceiverPath, 0xFF1C, 0x92, 64, 64, 1, 4},
        {kCableNotificationPath, 0x000C, 0x01, 3, 0, 1, 3},
        {kReceiverNotificationPath, 0x000C, 0x01, 3, 0, 1, 3},
        {"emu:mouse.if0#vid_320f&pid_225a&mi_00", 0x0001, 0x02, 7, 0, 0, 0},
    };
    for (const CollectionCase& c : cases) {
        SCOPED_TRACE(c.path);
        CHidInterface hid(emulation->Backend());
        ASSERT_TRUE(hid.Open(c.path, true, true, true, false));
        EXPECT_EQ(hid.VendorId(), 0x320F);
        EXPECT_EQ(hid.UsagePage(), c.usagePage);
        EXPECT_EQ(hid.Usage(), c.usage);
        EXPECT_EQ(hid.InputReportLength(), c.inputLength);
        EXPECT_EQ(hid.OutputReportLength(), c.outputLength);
        EXPECT_EQ(hid.InterfaceNumber(), c.interfaceNumber);
        EXPECT_EQ(hid.CollectionNumber(), c.collection);
    }
}

TEST_F(HidInterfaceOverEmulationTest, CommandExchangeAndNotificationThroughTheHidLayer) {
    CHidInterface commands(emulation->Backend());
    CHidInterface notifications(emulation->Backend());
    ASSERT_TRUE(commands.Open(kCablePath, true, true, true, false));
    ASSERT_TRUE(notifications.Open(kCableNotificationPath, true, true, true, false));

    const vendor::Report request = Request(vendor::kCmdReadDeviceInfo, 34, 0);
    uint32_t transferred = 0;
    ASSERT_TRUE(commands.Write(request.data(), 64, &transferred, 1000));
    vendor::Report answer{};
    ASSERT_TRUE(commands.Read(answer.data(), 64, &transferred, 1000));
    EXPECT_EQ(transferred, 64u);
    EXPECT_EQ(answer[vendor::kOffsetCommand], vendor::kCmdReadDeviceInfo);
    EXPECT_EQ(answer[vendor::kOffsetPayload + 5], CMouseModel::kPhysicalKeys);

    std::string error;
    ASSERT_TRUE(emulation->Notify("mouse", 0x1123, error)) << error;
    ASSERT_TRUE(notifications.Read(notifications.InputReportBuffer(), notifications.InputReportBufferLength(),
                                   &transferred, 1000));
    notifications.UnpackInputReport(notifications.InputReportBuffer(), transferred);
    const auto& fields = notifications.InputFields();
    ASSERT_FALSE(fields.empty());
    ASSERT_TRUE(fields[0].isSet);
    ASSERT_FALSE(fields[0].usages.empty());
    EXPECT_EQ(fields[0].usages[0], 0x1123);
}

}  // namespace
}  // namespace zevik::test

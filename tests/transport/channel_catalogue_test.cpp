// The catalogue's command interfaces and the ids an interface path carries.

#include <gtest/gtest.h>

#include "transport/command_channel.h"
#include "transport/device_catalogue.h"

namespace zevik::test {
namespace {

TEST(DeviceCatalogue, PathIdsAreReadCaseInsensitivelyAsHex) {
    struct Case { const char* path; PathIds ids; };
    for (const Case c : {
             Case{"hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col04", {0x320F, 0x225A, 1, 4}},
             Case{"emu:mouse#VID_320F&PID_225B&MI_01&Col0A", {0x320F, 0x225B, 1, 10}},
             Case{"hidraw:/dev/hidraw0#vid_0c76&pid_1630&mi_03", {0x0C76, 0x1630, 3, 0}},
             Case{"no ids at all", {0, 0, 0, 0}},
             Case{"x#vid_&pid_zz", {0, 0, 0, 0}},
         }) {
        const PathIds ids = ParsePathIds(c.path);
        EXPECT_EQ(ids.vendorId, c.ids.vendorId) << c.path;
        EXPECT_EQ(ids.productId, c.ids.productId) << c.path;
        EXPECT_EQ(ids.interfaceNumber, c.ids.interfaceNumber) << c.path;
        EXPECT_EQ(ids.collectionNumber, c.ids.collectionNumber) << c.path;
    }
}

TEST(DeviceCatalogue, RowsMatchOnlyTheirOwnCommandInterface) {
    struct Case { const char* device; const char* path; bool matches; };
    for (const Case c : {
             Case{"mouse", "hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col04", true},
             Case{"mouse", "hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col03", false},  // notifications
             Case{"mouse", "hidraw:/dev/hidraw3#vid_320f&pid_225b&mi_01&col04", false},  // the receiver
             Case{"mouse-receiver", "hidraw:/dev/hidraw5#vid_320f&pid_225b&mi_01&col04", true},
             Case{"mousepad", "hidraw:/dev/hidraw6#vid_320f&pid_1004&mi_01&col04", true},
             Case{"headset", "hidraw:/dev/hidraw7#vid_0c76&pid_1630&mi_03", true},
             Case{"headset", "hidraw:/dev/hidraw7#vid_0c76&pid_1630&mi_03&col01", false},
             // The keyboard rows carry ids 0: even a path without any ids is no keyboard.
             Case{"keyboard", "hidraw:/dev/hidraw9#mi_01&col04", false},
             Case{"keyboard-receiver", "hidraw:/dev/hidraw9#vid_0000&pid_0000&mi_01&col04", false},
             // Only the emulator's nodes carry them.
             Case{"keyboard", "emu:keyboard#vid_0000&pid_0000&mi_01&col04", true},
             Case{"keyboard-receiver", "emu:keyboard-receiver#vid_0000&pid_0000&mi_01&col04", true},
             Case{"keyboard", "emu:keyboard#vid_0000&pid_0000&mi_01&col03", false},
         }) {
        const CommandInterfaceRow* row = FindCommandInterface(c.device);
        ASSERT_NE(row, nullptr) << c.device;
        EXPECT_EQ(PathMatches(*row, c.path), c.matches) << c.device << " " << c.path;
    }
    EXPECT_EQ(FindCommandInterface("toaster"), nullptr);
}

TEST(DeviceCatalogue, ReceiverRowsUseTheReceiverConnection) {
    for (const CommandInterfaceRow& row : kCommandInterfaces) {
        const bool receiver = row.kind == kKindMouseReceiver || row.kind == kKindKeyboardReceiver;
        EXPECT_EQ(row.connectionMode, receiver ? kConnectionReceiver : kConnectionCable) << row.name;
    }
}

}  // namespace
}  // namespace zevik::test

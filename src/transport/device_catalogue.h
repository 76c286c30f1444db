#pragma once
// The command interfaces of the catalogue: which HID interface of each supported peripheral carries the
// vendor command reports, and in which connection mode the command channel talks to it. Tools (and
// later the discovery code) find a device's command interface from these rows.
//
// The keyboard rows carry vendor and product id 0, which no real interface has: a real keyboard is
// never found, by design of this product line's configuration. They match only the emulator's nodes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zevik {

// Device kind codes.
inline constexpr uint16_t kKindKeyboard = 1;
inline constexpr uint16_t kKindMouse = 2;
inline constexpr uint16_t kKindMousepad = 3;
inline constexpr uint16_t kKindMouseReceiver = 6;
inline constexpr uint16_t kKindHeadset = 7;
inline constexpr uint16_t kKindKeyboardReceiver = 9;

struct CommandInterfaceRow {
    std::string_view name;     // the tool's name of the row: "mouse", "mouse-receiver", ...
    uint16_t vendorId;
    uint16_t productId;
    uint16_t interfaceNumber;  // the number after "&mi_" in the path
    uint16_t collectionNumber; // the number after "&col"; 0 when the path has none
    uint16_t kind;
    uint16_t usagePage;
    uint16_t usage;
    int connectionMode;        // kConnectionCable (1) or kConnectionReceiver (2) of the command channel
};

inline constexpr std::array<CommandInterfaceRow, 6> kCommandInterfaces{{
    {"keyboard", 0x0000, 0x0000, 1, 4, kKindKeyboard, 0xFF1C, 0x92, 1},
    {"keyboard-receiver", 0x0000, 0x0000, 1, 4, kKindKeyboardReceiver, 0xFF1C, 0x92, 2},
    {"mouse", 0x320F, 0x225A, 1, 4, kKindMouse, 0xFF1C, 0x92, 1},
    {"mouse-receiver", 0x320F, 0x225B, 1, 4, kKindMouseReceiver, 0xFF1C, 0x92, 2},
    {"mousepad", 0x320F, 0x1004, 1, 4, kKindMousepad, 0xFF1C, 0x92, 1},
    {"headset", 0x0C76, 0x1630, 3, 0, kKindHeadset, 0x000C, 0x01, 1},
}};

// The row of that name; null when there is none.
const CommandInterfaceRow* FindCommandInterface(std::string_view name);

// The identifying numbers an interface path carries ("vid_", "pid_", "&mi_", "&col", each followed by
// a hexadecimal number, found case-insensitively; a missing part gives 0), and whether the path is one
// of the emulated backend's ("emu:").
struct PathIds {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collectionNumber = 0;
    bool emulated = false;
};

// Rows with vendor id 0 name no real interface: only an emulated node may match them.
constexpr bool VendorMatches(uint16_t rowVendorId, const PathIds& ids) {
    return ids.vendorId == rowVendorId && (rowVendorId != 0 || ids.emulated);
}
PathIds ParsePathIds(std::string_view path);

// True when the path names the row's interface (vendor, product, interface and collection numbers).
bool PathMatches(const CommandInterfaceRow& row, std::string_view path);

}  // namespace zevik

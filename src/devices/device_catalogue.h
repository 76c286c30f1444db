#pragma once
// The device catalogue: the constant tables of the peripherals the program knows.
// - the interface table: every HID interface the program talks to (the live list starts as a copy);
// - the tab table: what the main window builds for a device kind;
// - the page table, indexed like the tab table: button counts, battery panel and page layout.
//
// The keyboard rows carry vendor and product id 0, which no real interface has, so a real keyboard is
// never found (its tab still exists); only the emulator's keyboard nodes match them.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "devices/device_interface_entry.h"
#include "transport/device_catalogue.h"

namespace zevik {

inline constexpr std::size_t kInterfaceRowCount = 11;
using InterfaceTable = std::array<DeviceInterfaceEntry, kInterfaceRowCount>;

// A fresh copy of the interface table (every path empty, every connected flag 0).
InterfaceTable MakeInterfaceTable();

// Whether a path's numbers (ParsePathIds) name an interface of the table: vendor, product, interface
// and collection of one of its rows (rows without a vendor match emulated nodes only).
bool IsCatalogueInterface(const PathIds& ids);

struct DeviceTabEntry {
    std::string_view optionLayout;    // the device option's layout file
    std::string_view tabHeaderName;   // the tab header's control name
    std::string_view powerContainer;  // the container of the power panels
    std::string_view kindName;        // "mouse", "keyboard", "MousePad", "HD"
    int profileDeviceIndex = 0;       // the device's index in the profile's "Device" array
    int vendorId = 0;
    int productId = 0;
    int kind = 0;
    int variant = 0;  // the mousepad's icon set: 0 hard, 1 soft
};

struct DevicePageEntry {
    int lightButtonCount = 0;
    int keyButtonCount = 0;
    int batteryPanel = 0;
    int logoLed = -1;  // the LED the page's logo control repeats; -1 none
    std::string_view pageLayout;
    std::string_view lightConfiguration;
};

inline constexpr std::string_view kDeviceOptionLayout = "XML\\CustomControlXML\\DeviceOption.xml";
inline constexpr std::string_view kPowerPanelLayout = "XML\\CustomControlXML\\MpDevicePower.xml";

inline constexpr std::array<DeviceTabEntry, 4> kDeviceTabTable{{
    {kDeviceOptionLayout, "tab_header_device", "device_power_switch", "mouse", 1, 0x320F, 0x225A, kKindMouse,
     0},
    {kDeviceOptionLayout, "tab_header_device", "device_power_switch", "keyboard", 0, 0x0000, 0x0000,
     kKindKeyboard, 0},
    {kDeviceOptionLayout, "tab_header_device", "device_power_switch", "MousePad", 2, 0x320F, 0x1004,
     kKindMousepad, 0},
    {kDeviceOptionLayout, "tab_header_device", "device_power_switch", "HD", 3, 0x0C76, 0x1630, kKindHeadset,
     0},
}};

inline constexpr std::array<DevicePageEntry, 4> kDevicePageTable{{
    {15, 11, 1, -1, "XML\\DeviceXml\\mousedevice.xml", "velda_light"},
    {170, 170, 0, -1, "XML\\DeviceXml\\keyboarddevice.xml", "velda_light"},
    {15, 0, 0, -1, "XML\\DeviceXml\\mousepaddevice.xml", "velda_light"},
    {13, 0, 0, -1, "XML\\DeviceXml\\hs6533device.xml", "velda_light"},
}};

// The row of the tab table for that identity; nothing when none matches.
std::optional<std::size_t> FindDeviceTab(int vendorId, int productId, int kind, int variant);

// The first row of the table with that vendor, product, kind and role; nothing when none.
std::optional<std::size_t> FindInterfaceRow(std::span<const DeviceInterfaceEntry> table, uint16_t vendorId,
                                            uint16_t productId, uint16_t kind, uint16_t role);

// True for the receiver kinds (6 mouse, 9 keyboard).
constexpr bool IsReceiverKind(uint16_t kind) {
    return kind == kKindMouseReceiver || kind == kKindKeyboardReceiver;
}

}  // namespace zevik

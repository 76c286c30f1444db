#include "devices/device_catalogue.h"

#include <algorithm>

namespace zevik {

namespace {

DeviceInterfaceEntry Row(uint16_t vid, uint16_t pid, uint16_t mi, uint16_t col, uint16_t kind, uint16_t role,
                         uint16_t page, uint16_t usage, uint16_t hasPartner, uint16_t partner) {
    DeviceInterfaceEntry e;
    e.vendorId = vid;
    e.productId = pid;
    e.interfaceNumber = mi;
    e.collectionNumber = col;
    e.kind = kind;
    e.role = role;
    e.usagePage = page;
    e.usage = usage;
    e.hasPartner = hasPartner;
    e.partnerRow = partner;
    return e;
}

}  // namespace

InterfaceTable MakeInterfaceTable() {
    return InterfaceTable{{
        Row(0x0000, 0x0000, 1, 4, kKindKeyboard, kRoleCommand, 0xFF1C, 0x92, 1, 2),
        Row(0x0000, 0x0000, 1, 3, kKindKeyboard, kRoleNotification, 0x000C, 0x01, 1, 3),
        Row(0x0000, 0x0000, 1, 4, kKindKeyboardReceiver, kRoleCommand, 0xFF1C, 0x92, 1, 0),
        Row(0x0000, 0x0000, 1, 3, kKindKeyboardReceiver, kRoleNotification, 0x000C, 0x01, 1, 1),
        Row(0x320F, 0x225A, 1, 4, kKindMouse, kRoleCommand, 0xFF1C, 0x92, 1, 6),
        Row(0x320F, 0x225A, 1, 3, kKindMouse, kRoleNotification, 0x000C, 0x01, 1, 7),
        Row(0x320F, 0x225B, 1, 4, kKindMouseReceiver, kRoleCommand, 0xFF1C, 0x92, 1, 4),
        Row(0x320F, 0x225B, 1, 3, kKindMouseReceiver, kRoleNotification, 0x000C, 0x01, 1, 5),
        Row(0x320F, 0x1004, 1, 4, kKindMousepad, kRoleCommand, 0xFF1C, 0x92, 0, 0),
        Row(0x320F, 0x1004, 1, 3, kKindMousepad, kRoleNotification, 0x000C, 0x01, 0, 0),
        Row(0x0C76, 0x1630, 3, 0, kKindHeadset, kRoleCommand, 0x000C, 0x01, 0, 0),
    }};
}

bool IsCatalogueInterface(const PathIds& ids) {
    static const InterfaceTable table = MakeInterfaceTable();
    return std::any_of(table.begin(), table.end(), [&ids](const DeviceInterfaceEntry& e) {
               return VendorMatches(e.vendorId, ids) && e.productId == ids.productId &&
                      e.interfaceNumber == ids.interfaceNumber && e.collectionNumber == ids.collectionNumber;
           });
}

std::optional<std::size_t> FindDeviceTab(int vendorId, int productId, int kind, int variant) {
    for (std::size_t i = 0; i < kDeviceTabTable.size(); ++i) {
        const DeviceTabEntry& t = kDeviceTabTable[i];
        if (t.vendorId == vendorId && t.productId == productId && t.kind == kind && t.variant == variant) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> FindInterfaceRow(std::span<const DeviceInterfaceEntry> table, uint16_t vendorId,
                                            uint16_t productId, uint16_t kind, uint16_t role) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DeviceInterfaceEntry& e = table[i];
        if (e.vendorId == vendorId && e.productId == productId && e.kind == kind && e.role == role) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace zevik

#pragma once
// DeviceInterfaceEntry: one HID interface the program talks to (a row of the interface table and of
// the live list), and the identity a device object keeps of the row it was connected through.

#include <cstdint>
#include <string>

namespace zevik {

// Role of an interface row.
inline constexpr uint16_t kRoleCommand = 0;         // the vendor command interface
inline constexpr uint16_t kRoleNotification = 255;  // the interface of unsolicited input reports

struct DeviceInterfaceEntry {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;   // the number after "&mi_" in the path
    uint16_t collectionNumber = 0;  // the number after "&col"; 0 when the path has none
    uint16_t kind = 0;              // device kind code: 1, 9 keyboard; 2, 6 mouse; 3 mousepad; 7 headset
    uint16_t role = kRoleCommand;
    uint16_t connected = 0;  // flag, live list only
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t hasPartner = 0;  // flag: the same device has a row on its other connection
    uint16_t partnerRow = 0;  // index of that row
    std::string devicePath;   // live list only; empty when free
};

// Two rows name the same interface of the same product: vendor, product, interface, collection, kind
// and role agree (connection state and path are not part of the identity).
inline bool SameIdentity(const DeviceInterfaceEntry& a, const DeviceInterfaceEntry& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId && a.interfaceNumber == b.interfaceNumber &&
           a.collectionNumber == b.collectionNumber && a.kind == b.kind && a.role == b.role;
}

}  // namespace zevik

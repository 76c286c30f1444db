#pragma once
// CDiscoveryInterfaceList: the live interface list, a copy of the interface table whose connected
// flags and paths follow the plugged peripherals. The scan thread writes it; the UI thread reads it,
// so every access goes through the list's lock and readers get copies.
//
// Each claimed row also keeps the fingerprint of the node it was claimed on (attributes and report
// descriptor): node numbers are reused after unplugging, so a path that opens again does not prove
// that the same peripheral is still behind it.

#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/device_catalogue.h"
#include "devices/device_interface_entry.h"

namespace zevik {

// What identifies the node behind a path beyond the path itself.
struct NodeFingerprint {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::vector<uint8_t> reportDescriptor;
    bool operator==(const NodeFingerprint&) const = default;
};

class CDiscoveryInterfaceList {
public:
    CDiscoveryInterfaceList();

    std::size_t Size() const;
    // A copy of the row; nothing for an index out of range.
    std::optional<DeviceInterfaceEntry> Row(std::size_t index) const;
    std::vector<DeviceInterfaceEntry> Snapshot() const;

    // A row is free when it is not connected and has no path.
    bool AnyFree() const;
    // True when a free row can be claimed: rows with vendor id 0 (the keyboard's) only by emulated
    // nodes, so without them those rows alone do not make the scan list the interfaces.
    bool AnyReachableFree(bool emulatedNodes = false) const;
    // True when a free row has these four path numbers.
    bool HasFreeRow(uint16_t vendorId, uint16_t productId, uint16_t interfaceNumber,
                    uint16_t collectionNumber) const;

    // True when a connected row holds that path.
    bool HoldsPath(const std::string& path) const;

    // Marks the first free row matching all six values connected with that path; its index, or
    // nothing when none is free or another row holds the path already (two connections of one
    // device may carry the same ids: one node is never both).
    std::optional<std::size_t> Claim(uint16_t vendorId, uint16_t productId, uint16_t interfaceNumber,
                                     uint16_t collectionNumber, uint16_t usagePage, uint16_t usage,
                                     const std::string& path, NodeFingerprint fingerprint);
    // Frees a connected row (connected 0, path empty); false when it was not connected.
    bool Release(std::size_t index);

    // Connected rows with their paths and fingerprints (for the removal check).
    struct ConnectedRow {
        std::size_t index;
        std::string path;
        NodeFingerprint fingerprint;
    };
    std::vector<ConnectedRow> ConnectedRows() const;

    // True when the row is connected and has a path (a live connection).
    bool IsLive(std::size_t index) const;
    // How many connected rows have one of the device kinds (nothing copied: called for every audio
    // record).
    int CountConnected(std::initializer_list<uint16_t> kinds) const;

private:
    mutable std::mutex m_mutex;
    InterfaceTable m_rows;
    std::vector<NodeFingerprint> m_fingerprints;
};

}  // namespace zevik

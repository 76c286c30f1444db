#include "devices/discovery_interface_list.h"

#include <algorithm>
#include <utility>

namespace zevik {

namespace {

bool IsFree(const DeviceInterfaceEntry& e) {
    return e.connected == 0 && e.devicePath.empty();
}

}  // namespace

CDiscoveryInterfaceList::CDiscoveryInterfaceList()
    : m_rows(MakeInterfaceTable()), m_fingerprints(kInterfaceRowCount) {}

std::size_t CDiscoveryInterfaceList::Size() const {
    return kInterfaceRowCount;
}

std::optional<DeviceInterfaceEntry> CDiscoveryInterfaceList::Row(std::size_t index) const {
    std::lock_guard lock(m_mutex);
    if (index >= m_rows.size()) {
        return std::nullopt;
    }
    return m_rows[index];
}

std::vector<DeviceInterfaceEntry> CDiscoveryInterfaceList::Snapshot() const {
    std::lock_guard lock(m_mutex);
    return {m_rows.begin(), m_rows.end()};
}

bool CDiscoveryInterfaceList::AnyFree() const {
    std::lock_guard lock(m_mutex);
    for (const DeviceInterfaceEntry& e : m_rows) {
        if (IsFree(e)) {
            return true;
        }
    }
    return false;
}

bool CDiscoveryInterfaceList::AnyReachableFree(bool emulatedNodes) const {
    std::lock_guard lock(m_mutex);
    for (const DeviceInterfaceEntry& e : m_rows) {
        if (IsFree(e) && (e.vendorId != 0 || emulatedNodes)) {
            return true;
        }
    }
    return false;
}

bool CDiscoveryInterfaceList::HoldsPath(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_rows.begin(), m_rows.end(),
                       [&path](const DeviceInterfaceEntry& e) { return e.connected != 0 && e.devicePath == path; });
}

bool CDiscoveryInterfaceList::HasFreeRow(uint16_t vendorId, uint16_t productId, uint16_t interfaceNumber,
                                         uint16_t collectionNumber) const {
    std::lock_guard lock(m_mutex);
    for (const DeviceInterfaceEntry& e : m_rows) {
        if (IsFree(e) && e.vendorId == vendorId && e.productId == productId &&
            e.interfaceNumber == interfaceNumber && e.collectionNumber == collectionNumber) {
            return true;
        }
    }
    return false;
}

std::optional<std::size_t> CDiscoveryInterfaceList::Claim(uint16_t vendorId, uint16_t productId,
                                                          uint16_t interfaceNumber, uint16_t collectionNumber,
                                                          uint16_t usagePage, uint16_t usage,
                                                          const std::string& path,
                                                          NodeFingerprint fingerprint) {
    std::lock_guard lock(m_mutex);
    for (const DeviceInterfaceEntry& e : m_rows) {
        if (e.connected != 0 && e.devicePath == path) return std::nullopt;
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        DeviceInterfaceEntry& e = m_rows[i];
        if (IsFree(e) && e.vendorId == vendorId && e.productId == productId &&
            e.interfaceNumber == interfaceNumber && e.collectionNumber == collectionNumber &&
            e.usagePage == usagePage && e.usage == usage) {
            e.connected = 1;
            e.devicePath = path;
            m_fingerprints[i] = std::move(fingerprint);
            return i;
        }
    }
    return std::nullopt;
}

bool CDiscoveryInterfaceList::Release(std::size_t index) {
    std::lock_guard lock(m_mutex);
    if (index >= m_rows.size() || m_rows[index].connected == 0) {
        return false;
    }
    m_rows[index].connected = 0;
    m_rows[index].devicePath.clear();
    m_fingerprints[index] = {};
    return true;
}

std::vector<CDiscoveryInterfaceList::ConnectedRow> CDiscoveryInterfaceList::ConnectedRows() const {
    std::lock_guard lock(m_mutex);
    std::vector<ConnectedRow> rows;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].connected != 0) {
            rows.push_back({i, m_rows[i].devicePath, m_fingerprints[i]});
        }
    }
    return rows;
}

bool CDiscoveryInterfaceList::IsLive(std::size_t index) const {
    std::lock_guard lock(m_mutex);
    return index < m_rows.size() && m_rows[index].connected != 0 && !m_rows[index].devicePath.empty();
}

int CDiscoveryInterfaceList::CountConnected(std::initializer_list<uint16_t> kinds) const {
    std::lock_guard lock(m_mutex);
    int count = 0;
    for (const DeviceInterfaceEntry& row : m_rows) {
        if (row.connected == 0) continue;
        for (uint16_t kind : kinds) count += row.kind == kind ? 1 : 0;
    }
    return count;
}

}  // namespace zevik

#include "transport/hid/fallback_backend.h"

#include <algorithm>

namespace zevik {

CFallbackBackend::CFallbackBackend(IHidBackend& real, IHidBackend& standIn, SupportedPath supported)
    : m_real(real), m_standIn(standIn), m_supported(std::move(supported)) {}

bool CFallbackBackend::Enumerate(std::vector<std::string>& paths) {
    std::vector<std::string> real;
    const bool listed = m_real.Enumerate(real);
    const bool realDevice = listed && std::any_of(real.begin(), real.end(), m_supported);
    bool switched = false;
    {
        std::lock_guard lock(m_mutex);
        m_realPaths = std::set<std::string>(real.begin(), real.end());
        switched = m_usingStandIn == realDevice;
        m_usingStandIn = !realDevice;
    }
    if (switched && m_onSwitch) {
        m_onSwitch(!realDevice);
    }
    if (realDevice) {
        paths = std::move(real);
        return true;
    }
    return m_standIn.Enumerate(paths);
}

std::unique_ptr<IHidConnection> CFallbackBackend::Open(const std::string& path, bool wantRead,
                                                       bool wantWrite) {
    bool real = false;
    {
        std::lock_guard lock(m_mutex);
        real = m_realPaths.count(path) != 0;
    }
    return real ? m_real.Open(path, wantRead, wantWrite) : m_standIn.Open(path, wantRead, wantWrite);
}

std::optional<std::uint64_t> CFallbackBackend::ChangeCount() {
    const auto real = m_real.ChangeCount();
    const auto standIn = m_standIn.ChangeCount();
    if (!real || !standIn) {
        return std::nullopt;
    }
    return *real + *standIn;
}

bool CFallbackBackend::UsingStandIn() const {
    std::lock_guard lock(m_mutex);
    return m_usingStandIn;
}

}  // namespace zevik

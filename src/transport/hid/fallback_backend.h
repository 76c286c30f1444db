#pragma once
// CFallbackBackend: the real devices when one is present, a stand-in (the emulator) otherwise. While
// the real backend lists no supported node it lists the stand-in's nodes; once a supported device is
// plugged in it lists the real nodes only, so the stand-in's devices leave the way an unplugged
// device does and the real one is served in their place (and the other way round when it goes).

#include <functional>
#include <mutex>
#include <set>
#include <string>

#include "transport/hid/hid_backend.h"

namespace zevik {

class CFallbackBackend final : public IHidBackend {
public:
    // Whether a path of the real backend names a device the program serves.
    using SupportedPath = std::function<bool(const std::string& path)>;

    // Neither backend is owned; both must outlive this one.
    CFallbackBackend(IHidBackend& real, IHidBackend& standIn, SupportedPath supported);

    bool Enumerate(std::vector<std::string>& paths) override;
    // A path the real backend listed last opens there, any other on the stand-in.
    std::unique_ptr<IHidConnection> Open(const std::string& path, bool wantRead, bool wantWrite) override;
    // Moves when either backend's count moves; nothing when either cannot tell.
    std::optional<std::uint64_t> ChangeCount() override;

    // Whether the last listing was the stand-in's (true before the first).
    bool UsingStandIn() const;
    // Called (on the listing thread) when the listing moves from the stand-in to the real backend or
    // back, with the new UsingStandIn(). Set before listing starts.
    void SetOnSwitch(std::function<void(bool standIn)> onSwitch) { m_onSwitch = std::move(onSwitch); }

private:
    IHidBackend& m_real;
    IHidBackend& m_standIn;
    SupportedPath m_supported;
    std::function<void(bool standIn)> m_onSwitch;
    mutable std::mutex m_mutex;
    std::set<std::string> m_realPaths;
    bool m_usingStandIn = true;
};

}  // namespace zevik

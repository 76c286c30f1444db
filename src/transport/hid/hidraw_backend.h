#pragma once
// The Linux HID backend: hidraw nodes found through sysfs. Each node gives one path per top-level
// collection of its report descriptor, "hidraw:/dev/hidrawN#vid_xxxx&pid_xxxx&mi_xx&colxx" ("&mi_"
// when the node sits on a USB interface, "&col" only when the node has more than one top-level
// collection, numbered from 01). Nodes whose descriptor or ids cannot be read are left out.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "transport/hid/hid_backend.h"

namespace zevik {

class CHidrawBackend final : public IHidBackend {
public:
    // The roots are injectable so the enumeration can run on a fake tree.
    explicit CHidrawBackend(std::filesystem::path sysRoot = "/sys", std::filesystem::path devRoot = "/dev");
    ~CHidrawBackend() override;
    CHidrawBackend(const CHidrawBackend&) = delete;
    CHidrawBackend& operator=(const CHidrawBackend&) = delete;

    // Nodes in ascending number order (hidraw2 before hidraw10), collections in descriptor order.
    bool Enumerate(std::vector<std::string>& paths) override;
    // Null when the path is not one of ours or the node cannot be opened (no permission, gone).
    std::unique_ptr<IHidConnection> Open(const std::string& path, bool wantRead, bool wantWrite) override;
    // Moves with every hidraw node created, removed or changed (rights) under the /dev root, watched
    // with inotify; nothing when the root cannot be watched.
    std::optional<std::uint64_t> ChangeCount() override;

private:
    std::filesystem::path sysRoot_;
    std::filesystem::path devRoot_;
    std::mutex watchMutex_;
    int watchFd_ = -1;
    std::uint64_t changes_ = 0;
};

}  // namespace zevik

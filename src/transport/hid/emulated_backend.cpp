#include "transport/hid/emulated_backend.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string_view>
#include <utility>

namespace zevik {
namespace {

using Clock = std::chrono::steady_clock;

// A thread woken by the kernel's timer runs some tens of microseconds late; the last stretch of a
// link-time wait is spun so the latency model (benchmarks: 1 ms per report) stays within microseconds
// on an idle machine. Only waits for link time spin; time-outs and empty queues block.
constexpr auto kSpinMargin = std::chrono::microseconds(200);

// When a node answers from inside a write, its answer leaves at the moment the request arrived by the
// link model, not at the moment the writing thread woke up: late wake-ups do not add up.
thread_local const Clock::time_point* tlArrival = nullptr;

// Waits until target or until done() holds; lock is held on entry and on return.
template <typename Done>
void WaitUntilPrecisely(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                        Clock::time_point target, Done done) {
    while (!done()) {
        const auto now = Clock::now();
        if (now >= target) return;
        if (target - now > kSpinMargin) {
            wake.wait_until(lock, target - kSpinMargin);
        } else {
            lock.unlock();
            while (Clock::now() < target) {
            }
            lock.lock();
        }
    }
}

// hidraw keeps at most this many unread input reports per open file and drops newer ones.
constexpr size_t kMaxQueuedReports = 64;

struct PendingReport {
    Clock::time_point readyAt;
    std::vector<uint8_t> bytes;
};

// One open connection, guarded by Core::mutex.
struct ConnectionState {
    std::string path;
    bool canRead = false;
    bool canWrite = false;
    bool cancelled = false;  // Cancel() was called: every transfer ends with Cancelled
    bool dead = false;       // the node was unplugged or the backend destroyed
    std::deque<PendingReport> queue;
    std::condition_variable wake;
};

bool ValidName(const std::string& name) {
    if (name.empty()) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' || c == '.';
    });
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string MakePath(const std::string& name, const HidAttributes& attributes, uint8_t interfaceNumber,
                     size_t collection, size_t collectionCount) {
    std::array<char, 64> ids{};
    std::snprintf(ids.data(), ids.size(), "#vid_%04x&pid_%04x&mi_%02x", attributes.vendorId,
                  attributes.productId, interfaceNumber);
    std::string path = "emu:" + name + ids.data();
    if (collectionCount > 1) {
        std::array<char, 32> col{};
        std::snprintf(col.data(), col.size(), "&col%02zx", collection + 1);
        path += col.data();
    }
    return path;
}

// One node as the backend keeps it. Everything but the immutable description is guarded by
// Core::mutex.
struct NodeSlot final : IEmulatedInputSink {
    CEmulatedBackend::Core* core = nullptr;
    std::shared_ptr<IEmulatedHidNode> node;
    std::string name;
    HidAttributes attributes;
    std::vector<uint8_t> descriptor;
    std::vector<EmulatedCollection> collections;
    std::vector<std::string> paths;

    bool plugged = false;
    std::chrono::microseconds latency{0};
    std::vector<std::shared_ptr<ConnectionState>> connections;  // open, live connections

    bool SendInput(std::span<const uint8_t> report) override;
    void Unplug() override;

    // Path of the collection an input report belongs to (by its report id).
    const std::string& PathForInput(std::span<const uint8_t> report) const {
        if (!report.empty()) {
            for (size_t i = 0; i < collections.size(); ++i) {
                const auto& ids = collections[i].reportIds;
                if (std::find(ids.begin(), ids.end(), report[0]) != ids.end()) return paths[i];
            }
        }
        return paths.front();
    }
};

}  // namespace

struct CEmulatedBackend::Core {
    std::mutex mutex;
    std::vector<std::unique_ptr<NodeSlot>> slots;
    EmulatedReportHook hook;
    std::uint64_t changes = 0;

    NodeSlot* Find(const std::string& name) const {
        for (const auto& slot : slots) {
            if (slot->name == name) return slot.get();
        }
        return nullptr;
    }

    // Marks every connection of the slot dead and forgets them. Caller holds the mutex.
    static void KillConnections(NodeSlot& slot) {
        for (const auto& connection : slot.connections) {
            connection->dead = true;
            connection->wake.notify_all();
        }
        slot.connections.clear();
    }
};

bool NodeSlot::SendInput(std::span<const uint8_t> report) {
    if (report.empty()) return false;
    EmulatedReportHook hook;
    bool queued = false;
    {
        std::lock_guard lock(core->mutex);
        if (!plugged) return false;
        const auto readyAt = (tlArrival != nullptr ? *tlArrival : Clock::now()) + latency;
        for (const auto& connection : connections) {
            if (!connection->canRead || connection->queue.size() >= kMaxQueuedReports) continue;
            connection->queue.push_back({readyAt, std::vector<uint8_t>(report.begin(), report.end())});
            connection->wake.notify_all();
            queued = true;
        }
        if (queued) hook = core->hook;
    }
    if (queued && hook) hook(EmulatedReportDirection::In, PathForInput(report), report);
    return queued;
}

void NodeSlot::Unplug() {
    std::lock_guard lock(core->mutex);
    plugged = false;
    ++core->changes;
    CEmulatedBackend::Core::KillConnections(*this);
}

namespace {

class CEmulatedConnection final : public IHidConnection {
public:
    CEmulatedConnection(std::shared_ptr<CEmulatedBackend::Core> core, NodeSlot* slot,
                        std::shared_ptr<ConnectionState> state, HidAttributes attributes)
        : core_(std::move(core)), slot_(slot), state_(std::move(state)), attributes_(attributes) {}

    ~CEmulatedConnection() override {
        std::lock_guard lock(core_->mutex);
        std::erase(slot_->connections, state_);
    }
    CEmulatedConnection(const CEmulatedConnection&) = delete;
    CEmulatedConnection& operator=(const CEmulatedConnection&) = delete;

    std::vector<uint8_t> ReportDescriptor() const override { return slot_->descriptor; }
    HidAttributes Attributes() const override { return attributes_; }

    HidIoResult Read(std::span<uint8_t> buffer, int timeoutMs) override {
        std::unique_lock lock(core_->mutex);
        const bool forever = timeoutMs < 0;
        const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
        for (;;) {
            if (state_->cancelled) return {HidIoStatus::Cancelled, 0};
            if (state_->dead || !state_->canRead) return {HidIoStatus::Failed, 0};
            const auto now = Clock::now();
            if (!state_->queue.empty() && state_->queue.front().readyAt <= now) {
                const auto report = std::move(state_->queue.front().bytes);
                state_->queue.pop_front();
                const size_t count = std::min(report.size(), buffer.size());
                std::copy_n(report.begin(), count, buffer.begin());
                return {HidIoStatus::Ok, count};
            }
            if (!forever && now >= deadline) return {HidIoStatus::TimedOut, 0};
            if (state_->queue.empty()) {
                if (forever) {
                    state_->wake.wait(lock);
                } else {
                    state_->wake.wait_until(lock, deadline);
                }
            } else {
                const auto readyAt = state_->queue.front().readyAt;
                WaitUntilPrecisely(lock, state_->wake, forever ? readyAt : std::min(readyAt, deadline),
                                   [&] { return state_->cancelled || state_->dead; });
            }
        }
    }

    HidIoResult Write(std::span<const uint8_t> report, int timeoutMs) override {
        std::shared_ptr<IEmulatedHidNode> node;
        EmulatedReportHook hook;
        Clock::time_point arrival;
        {
            std::unique_lock lock(core_->mutex);
            if (state_->cancelled) return {HidIoStatus::Cancelled, 0};
            if (state_->dead || !state_->canWrite || report.empty()) return {HidIoStatus::Failed, 0};
            // The report occupies the link for the node's latency; a time-out shorter than that expires.
            const auto start = Clock::now();
            arrival = start + slot_->latency;
            const bool expires = timeoutMs >= 0 && std::chrono::milliseconds(timeoutMs) < slot_->latency;
            const auto until = expires ? start + std::chrono::milliseconds(timeoutMs) : arrival;
            WaitUntilPrecisely(lock, state_->wake, until, [&] { return state_->cancelled || state_->dead; });
            if (state_->cancelled) return {HidIoStatus::Cancelled, 0};
            if (state_->dead) return {HidIoStatus::Failed, 0};
            if (expires) return {HidIoStatus::TimedOut, 0};
            node = slot_->node;
            hook = core_->hook;
        }
        if (hook) hook(EmulatedReportDirection::Out, state_->path, report);
        tlArrival = &arrival;
        node->OnOutputReport(report, *slot_);
        tlArrival = nullptr;
        return {HidIoStatus::Ok, report.size()};
    }

    void Cancel() override {
        std::lock_guard lock(core_->mutex);
        state_->cancelled = true;
        state_->wake.notify_all();
    }

private:
    std::shared_ptr<CEmulatedBackend::Core> core_;
    NodeSlot* slot_;  // owned by core_, lives as long as it
    std::shared_ptr<ConnectionState> state_;
    const HidAttributes attributes_;  // as the node reported them when the connection was opened
};

}  // namespace

CEmulatedBackend::CEmulatedBackend() : core_(std::make_shared<Core>()) {}

CEmulatedBackend::~CEmulatedBackend() {
    std::lock_guard lock(core_->mutex);
    for (const auto& slot : core_->slots) {
        slot->plugged = false;
        Core::KillConnections(*slot);
    }
    core_->hook = nullptr;
}

bool CEmulatedBackend::AddNode(std::shared_ptr<IEmulatedHidNode> node, bool plugged) {
    if (!node) return false;
    auto slot = std::make_unique<NodeSlot>();
    slot->core = core_.get();
    slot->name = node->Name();
    slot->attributes = node->Attributes();
    slot->descriptor = node->ReportDescriptor();
    slot->collections = node->Collections();
    if (!ValidName(slot->name) || slot->collections.empty()) return false;
    for (size_t i = 0; i < slot->collections.size(); ++i) {
        slot->paths.push_back(
            MakePath(slot->name, slot->attributes, node->InterfaceNumber(), i, slot->collections.size()));
    }
    slot->node = std::move(node);
    slot->plugged = plugged;
    std::lock_guard lock(core_->mutex);
    if (core_->Find(slot->name) != nullptr) return false;
    core_->slots.push_back(std::move(slot));
    ++core_->changes;
    return true;
}

bool CEmulatedBackend::Plug(const std::string& name) {
    std::lock_guard lock(core_->mutex);
    NodeSlot* slot = core_->Find(name);
    if (slot == nullptr) return false;
    slot->plugged = true;
    ++core_->changes;
    return true;
}

std::optional<std::uint64_t> CEmulatedBackend::ChangeCount() {
    std::lock_guard lock(core_->mutex);
    return core_->changes;
}

bool CEmulatedBackend::Unplug(const std::string& name) {
    NodeSlot* slot = nullptr;
    {
        std::lock_guard lock(core_->mutex);
        slot = core_->Find(name);
    }
    if (slot == nullptr) return false;
    slot->Unplug();
    return true;
}

bool CEmulatedBackend::IsPlugged(const std::string& name) const {
    std::lock_guard lock(core_->mutex);
    const NodeSlot* slot = core_->Find(name);
    return slot != nullptr && slot->plugged;
}

bool CEmulatedBackend::SendInput(const std::string& name, std::span<const uint8_t> report) {
    NodeSlot* slot = nullptr;
    {
        std::lock_guard lock(core_->mutex);
        slot = core_->Find(name);
    }
    return slot != nullptr && slot->SendInput(report);
}

bool CEmulatedBackend::SetLatency(const std::string& name, std::chrono::microseconds perReport) {
    std::lock_guard lock(core_->mutex);
    NodeSlot* slot = core_->Find(name);
    if (slot == nullptr || perReport.count() < 0) return false;
    slot->latency = perReport;
    return true;
}

void CEmulatedBackend::SetReportHook(EmulatedReportHook hook) {
    std::lock_guard lock(core_->mutex);
    core_->hook = std::move(hook);
}

std::vector<std::string> CEmulatedBackend::PathsOf(const std::string& name) const {
    std::lock_guard lock(core_->mutex);
    const NodeSlot* slot = core_->Find(name);
    return slot != nullptr ? slot->paths : std::vector<std::string>{};
}

bool CEmulatedBackend::Enumerate(std::vector<std::string>& paths) {
    paths.clear();
    std::lock_guard lock(core_->mutex);
    for (const auto& slot : core_->slots) {
        if (slot->plugged) paths.insert(paths.end(), slot->paths.begin(), slot->paths.end());
    }
    return true;
}

std::unique_ptr<IHidConnection> CEmulatedBackend::Open(const std::string& path, bool wantRead,
                                                       bool wantWrite) {
    constexpr std::string_view kScheme = "emu:";
    if (path.size() <= kScheme.size() || !SameText(path.substr(0, kScheme.size()), std::string(kScheme))) {
        return nullptr;
    }
    const size_t hash = path.find('#');
    if (hash == std::string::npos) return nullptr;
    const std::string name = path.substr(kScheme.size(), hash - kScheme.size());

    NodeSlot* slot = nullptr;
    {
        std::lock_guard lock(core_->mutex);
        slot = core_->Find(name);
    }
    // Paths and the node are fixed once added; only the plug state needs the lock. The node is asked
    // for its attributes without the backend's lock held (it may be answering a report right now).
    if (slot == nullptr ||
        std::none_of(slot->paths.begin(), slot->paths.end(),
                     [&](const std::string& candidate) { return SameText(candidate, path); })) {
        return nullptr;
    }
    const HidAttributes attributes = slot->node->Attributes();
    auto state = std::make_shared<ConnectionState>();
    state->path = path;
    state->canRead = wantRead;
    state->canWrite = wantWrite;
    std::lock_guard lock(core_->mutex);
    if (!slot->plugged) return nullptr;
    slot->connections.push_back(state);
    return std::make_unique<CEmulatedConnection>(core_, slot, std::move(state), attributes);
}

}  // namespace zevik

#pragma once
// The seam between CHidInterface and the operating system (or the emulator).
// A backend lists HID nodes and opens them; CHidInterface parses the report descriptor,
// selects the top-level collection named by the path and filters reads by its report ids.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zevik {

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

enum class HidIoStatus {
    Ok,         // bytes holds the transfer's length
    TimedOut,   // nothing moved within the time-out
    Cancelled,  // Cancel() was called
    Failed,     // the node is gone or the transfer failed
};

struct HidIoResult {
    HidIoStatus status = HidIoStatus::Failed;
    size_t bytes = 0;
};

// Wait without limit.
inline constexpr int kHidWaitForever = -1;

// One open HID node. One thread may read while another writes; Cancel() may come from any thread.
class IHidConnection {
public:
    virtual ~IHidConnection() = default;

    // The node's whole report descriptor (every top-level collection of it).
    virtual std::vector<uint8_t> ReportDescriptor() const = 0;
    virtual HidAttributes Attributes() const = 0;

    // One input report of the node (any collection), report id first when the node uses ids.
    virtual HidIoResult Read(std::span<uint8_t> buffer, int timeoutMs) = 0;
    // One output report, report id first (0 when the node uses none).
    virtual HidIoResult Write(std::span<const uint8_t> report, int timeoutMs) = 0;
    // One output report sent as a control transfer (SET_REPORT), report id first, for reports a
    // device takes on its control pipe (the headset's LED reports). A backend without such a path
    // sends it as Write does.
    virtual HidIoResult SetOutputReport(std::span<const uint8_t> report, int timeoutMs) {
        return Write(report, timeoutMs);
    }

    // Ends every Read and Write in progress, and every later one, with Cancelled.
    // Used right before the connection is destroyed.
    virtual void Cancel() = 0;
};

class IHidBackend {
public:
    virtual ~IHidBackend() = default;

    // Paths of every present top-level collection, in a stable order;
    // e.g. "hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col04". False when listing failed.
    virtual bool Enumerate(std::vector<std::string>& paths) = 0;

    // Opens the node that holds the collection named by path; null when it cannot be opened.
    virtual std::unique_ptr<IHidConnection> Open(const std::string& path, bool wantRead, bool wantWrite) = 0;

    // A count that moves whenever a node may have appeared, gone or changed (its access rights
    // included); nothing when the backend cannot tell, and the caller must look at the nodes each time.
    virtual std::optional<std::uint64_t> ChangeCount() { return std::nullopt; }
};

}  // namespace zevik

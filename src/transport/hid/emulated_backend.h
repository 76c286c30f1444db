#pragma once
// The emulated HID backend: an IHidBackend whose nodes are virtual HID nodes (firmware models of the
// device emulator, or test doubles) instead of hidraw device files. It behaves like hidraw where the
// program can tell the difference:
// - one path per top-level collection of a node, in the hidraw form with the scheme "emu":
//   "emu:<name>#vid_320f&pid_225a&mi_01&col04" ("&col" only when the node has more than one top-level
//   collection; numbering from 01);
// - every open connection of a node gets its own copy of every input report the node sends (the
//   reader filters by report id); reports sent while no connection is open are lost;
// - an unplugged node is no longer listed, cannot be opened, and fails every pending and later
//   transfer of the connections that were open on it (a re-plug needs a new Open, as a new hidraw fd).
// It adds what tests and benchmarks need: plug and unplug at run time, a per-report latency and a hook
// that sees every report in both directions.
//
// The backend knows nothing of the vendor protocol; the node answers output reports.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "transport/hid/hid_backend.h"

namespace zevik {

// One top-level collection of a virtual node, in descriptor order.
struct EmulatedCollection {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::vector<uint8_t> reportIds;  // the report ids of its input reports (for the log's path)
};

// The backend's side of one node, handed to the node with every output report and kept by the
// backend for unsolicited input.
class IEmulatedInputSink {
public:
    virtual ~IEmulatedInputSink() = default;
    // Queues one input report (report id first) to every open connection of the node. It becomes
    // readable after the node's latency. False when the node is unplugged or no connection is open.
    virtual bool SendInput(std::span<const uint8_t> report) = 0;
    // Pulls the node's plug (a device that vanishes in the middle of a transfer).
    virtual void Unplug() = 0;
};

// A virtual HID node: one USB interface of an emulated device.
class IEmulatedHidNode {
public:
    virtual ~IEmulatedHidNode() = default;

    // Unique among the backend's nodes; becomes the path stem ("emu:<name>#...").
    // Letters, digits, '-', '_' and '.' only.
    virtual std::string Name() const = 0;
    // Asked at every open (a firmware update may change the version); vendor and product id must not
    // change, the paths carry them. Called from any thread.
    virtual HidAttributes Attributes() const = 0;
    virtual uint8_t InterfaceNumber() const = 0;
    // The whole report descriptor of the node.
    virtual std::vector<uint8_t> ReportDescriptor() const = 0;
    // Its top-level collections, in descriptor order (at least one).
    virtual std::vector<EmulatedCollection> Collections() const = 0;

    // One output report written by the host (report id first), on the writer's thread and after the
    // write's latency. Answers go through sink.SendInput. May run on several threads at once (one per
    // open connection that writes): the node guards its own state.
    virtual void OnOutputReport(std::span<const uint8_t> report, IEmulatedInputSink& sink) = 0;
};

// Direction of a logged report.
enum class EmulatedReportDirection { Out, In };

// Sees every report: Out when the host's write reaches the node (path = the connection's path), In when
// a node's input report is queued to at least one connection (path = the collection that holds its
// report id, else the node's first collection). Called without any lock of the backend held, possibly
// from several threads at once.
using EmulatedReportHook = std::function<void(EmulatedReportDirection direction, const std::string& path,
                                              std::span<const uint8_t> report)>;

class CEmulatedBackend final : public IHidBackend {
public:
    CEmulatedBackend();
    ~CEmulatedBackend() override;  // open connections stay valid and fail every transfer
    CEmulatedBackend(const CEmulatedBackend&) = delete;
    CEmulatedBackend& operator=(const CEmulatedBackend&) = delete;

    // Adds a node; false (nothing added) when the name is empty, malformed or already used, or the node
    // has no collection. A node that is added plugged is listed at once.
    bool AddNode(std::shared_ptr<IEmulatedHidNode> node, bool plugged = true);

    // Plug and unplug at run time; false for an unknown name.
    bool Plug(const std::string& name);
    bool Unplug(const std::string& name);
    bool IsPlugged(const std::string& name) const;

    // Sends an unsolicited input report from a node (notifications); as IEmulatedInputSink::SendInput.
    bool SendInput(const std::string& name, std::span<const uint8_t> report);

    // Time one report spends on the link, in either direction: a write returns after it, an input
    // report becomes readable after it. Default 0; 1 ms models a USB full-speed frame; a receiver adds
    // its radio hop. False for an unknown name.
    bool SetLatency(const std::string& name, std::chrono::microseconds perReport);

    // Installs the report hook (an empty function removes it). Set it before the first transfer.
    void SetReportHook(EmulatedReportHook hook);

    // The paths of one node's collections, whether plugged or not (empty for an unknown name).
    std::vector<std::string> PathsOf(const std::string& name) const;

    // IHidBackend.
    bool Enumerate(std::vector<std::string>& paths) override;
    std::unique_ptr<IHidConnection> Open(const std::string& path, bool wantRead, bool wantWrite) override;
    // Moves with every node added, plugged or unplugged.
    std::optional<std::uint64_t> ChangeCount() override;

    struct Core;  // shared with the connections, so they outlive the backend safely

private:
    std::shared_ptr<Core> core_;
};

}  // namespace zevik

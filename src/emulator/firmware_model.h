#pragma once
// CFirmwareModel: the device side of the vendor protocol, at the level of 64-byte reports. A device
// kind derives from it, declares its memory areas and which command reads or writes which area, its
// HID nodes and its notification report; the base checks each request (report id, checksum or the
// receiver's CRC), applies injected faults, runs the command and answers with the command echoed, the
// parameters as sent and a status byte (0 success, 0xFF failure).
//
// A device reachable by cable and through a receiver is one model with two ports: both see the same
// memory. The receiver port answers 0xAA while the device is out of range, answers the link query
// (0xAA, byte 8 = 0xFF when linked) itself, and checks the CRC-16/MODBUS of the protected exchange
// (command 0x12), which it also puts on its answer.
//
// Every public operation may be called from any thread.

#include <json/value.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "emulator/fault_plan.h"
#include "transport/hid/emulated_backend.h"
#include "transport/vendor_report.h"

namespace zevik {

enum class EmulatedPort { Cable, Receiver };

// One virtual HID node of a device: the emulation creates it from this description.
struct EmulatedNodeLayout {
    std::string suffix;  // appended to the port's node name ("" for the command node, ".if0", ...)
    EmulatedPort port = EmulatedPort::Cable;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint8_t interfaceNumber = 0;
    std::vector<uint8_t> descriptor;
    std::vector<EmulatedCollection> collections;
    bool answersProtocol = false;       // its output reports go to the model
    bool carriesNotifications = false;  // the model's notification reports leave through it
};

enum class AreaAccess { Read, Write };

class CFirmwareModel {
public:
    // Answer status bytes.
    static constexpr uint8_t kStatusOk = 0x00;

    CFirmwareModel(std::string kind, bool hasReceiver);
    virtual ~CFirmwareModel() = default;
    CFirmwareModel(const CFirmwareModel&) = delete;
    CFirmwareModel& operator=(const CFirmwareModel&) = delete;

    const std::string& Kind() const { return kind_; }
    bool HasReceiver() const { return hasReceiver_; }
    // False when the receiver cannot be told from the cable without the cable beside it (both carry
    // the same ids): then the receiver is only emulated together with the cable.
    virtual bool ServesReceiverAlone() const { return true; }
    virtual std::vector<EmulatedNodeLayout> NodeLayouts() const = 0;

    // One output report that reached a port; the answer (if any) goes out through sink.
    void HandleReport(EmulatedPort port, std::span<const uint8_t> report, IEmulatedInputSink& sink);

    // Whether the device is within reach of its receiver (true at start).
    void SetInRange(bool inRange);
    bool InRange() const;

    // The version number the port's HID attributes report.
    void SetFirmwareVersion(EmulatedPort port, uint16_t version);
    uint16_t FirmwareVersion(EmulatedPort port) const;

    CFaultPlan& Faults() { return faults_; }

    // Battery level in percent (0..100) and charging state (0 idle, 1 charging, 2 full), as the
    // device's status bytes report them. False for a device without a battery or a value out of range.
    virtual bool SetBattery(uint8_t /*percent*/, uint8_t /*charging*/) { return false; }

    // The input report that tells the host about an event on the device (usage of the notification
    // collection), after the device's state has changed as the usage says. Empty when the device has
    // no notification collection.
    std::vector<uint8_t> MakeNotification(uint16_t usage);

    // Direct access to the memory areas, for tests and tools. Unknown names give an empty vector /
    // false; a write must fit inside the area.
    std::vector<std::string> AreaNames() const;
    std::vector<uint8_t> ReadArea(const std::string& name) const;
    bool WriteArea(const std::string& name, size_t offset, std::span<const uint8_t> bytes);

    // State: {"kind", "in_range", "firmware": {"cable", "receiver"}, "areas": {name: hex}}.
    // LoadState checks everything before it changes anything; areas absent from the document keep
    // their contents.
    Json::Value SaveState() const;
    bool LoadState(const Json::Value& state, std::string& error);

protected:
    // Set-up, from the derived constructor only.
    void AddArea(const std::string& name, std::vector<uint8_t> contents);
    // A chunked transfer command: byte 4 length (1..56), bytes 5-6 address inside the area.
    void MapTransfer(uint8_t command, const std::string& area, AreaAccess access);
    // The status command (0x1A): byte 4 count, bytes 5-6 address inside the area.
    void MapStatus(const std::string& area);
    // A command without data that the device accepts (begin/end of a configuration, ...).
    void AcceptCommand(uint8_t command);
    void SetNotificationReportId(uint8_t reportId) { notificationReportId_ = reportId; }

    // Hooks, called with the model's lock held: they may use Area().
    virtual void OnNotification(uint16_t /*usage*/) {}
    // The bytes of a status answer (data part only), before they leave.
    virtual void OnStatusRead(EmulatedPort /*port*/, std::span<uint8_t> /*data*/, size_t /*address*/) {}
    virtual void OnCommand(uint8_t /*command*/) {}
    // An output report with another id than the protocol's (report id first); nothing answers it.
    virtual void OnOtherOutputReport(EmulatedPort /*port*/, std::span<const uint8_t> /*report*/) {}

    // An area by name; the caller holds the lock (hooks) or is the constructor. Null when unknown.
    std::vector<uint8_t>* Area(const std::string& name);

private:
    struct Mapping {
        std::string area;
        AreaAccess access;
    };

    // Runs a checked request; returns the status byte.
    uint8_t Execute(EmulatedPort port, const vendor::Report& request, vendor::Report& answer);
    uint8_t Transfer(const Mapping& mapping, const vendor::Report& request, vendor::Report& answer);
    uint8_t ReadStatus(EmulatedPort port, const vendor::Report& request, vendor::Report& answer);

    const std::string kind_;
    const bool hasReceiver_;
    uint8_t notificationReportId_ = 0;
    std::map<uint8_t, Mapping> transfers_;
    std::vector<uint8_t> accepted_;
    std::string statusArea_;

    mutable std::mutex mutex_;  // guards everything below
    std::map<std::string, std::vector<uint8_t>> areas_;
    bool inRange_ = true;
    uint16_t cableVersion_ = 0;
    uint16_t receiverVersion_ = 0;

    CFaultPlan faults_;
};

}  // namespace zevik

#pragma once
// CEmulation: a set of emulated devices behind one emulated HID backend, built from the emulation
// list of --emulate, with the state file and the report log. It owns the firmware models and their
// virtual nodes and offers the run-time actions of tests and scripted scenarios.
//
// Device instances are named after their kind, numbered from the second one on ("mouse", "mouse2").
// Action targets name one connection of an instance: "<instance>" is its cable connection,
// "<instance>-receiver" its receiver. Node names (and so the paths' stems) are the target names, with
// ".if0" for a device's interface 0: "emu:mouse#vid_320f&pid_225a&mi_01&col04".
// Every connection of a device exists as nodes; those not named in the list start unplugged.

#include <json/value.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "emulator/firmware_model.h"
#include "emulator/firmware_node.h"
#include "transport/hid/emulated_backend.h"

namespace zevik {

class CReportLog;

// Link models for benchmarks: one report per USB full-speed frame, and the receiver's radio hop
// (a 1000 Hz radio link) on top of it.
inline constexpr std::chrono::microseconds kUsbFullSpeedFrame{1000};
inline constexpr std::chrono::microseconds kReceiverRadioHop{1000};

struct EmulationOptions {
    std::string list;                       // e.g. "mouse", "mouse@receiver", "mouse@both,mouse"
    std::filesystem::path stateFile;        // empty: factory state, nothing saved
    std::filesystem::path logFile;          // empty: no report log
    std::chrono::microseconds usbFrame{0};  // link time of one report by cable
    std::chrono::microseconds radioHop{0};  // added per report through a receiver
};

class CEmulation {
public:
    // Null with a message when the list is wrong, the state file cannot be read or does not fit, or
    // the log cannot be opened.
    static std::unique_ptr<CEmulation> Create(const EmulationOptions& options, std::string& error);
    ~CEmulation();
    CEmulation(const CEmulation&) = delete;
    CEmulation& operator=(const CEmulation&) = delete;

    IHidBackend& Backend() { return *backend_; }
    CEmulatedBackend& EmulatedBackend() { return *backend_; }

    // Every action target, in list order (cable, then receiver of each instance).
    std::vector<std::string> Targets() const;
    // The model of an instance or target; null when unknown.
    CFirmwareModel* Model(const std::string& target) const;

    // Run-time actions; false with a message for an unknown target or when the action cannot be done.
    bool Plug(const std::string& target, std::string& error);
    bool Unplug(const std::string& target, std::string& error);
    // Moves the device out of (false) or back into (true) its receiver's range.
    bool SetInRange(const std::string& target, bool inRange, std::string& error);
    // The device reports an event (a usage of its notification collection). "<instance>" sends over
    // the cable when it is plugged, else through the receiver; "<instance>-receiver" through the
    // receiver. The device's state follows the usage even when no host listens (then false).
    bool Notify(const std::string& target, uint16_t usage, std::string& error);

    // The device's battery level (0..100 %) and charging state (0 idle, 1 charging, 2 full).
    bool SetBattery(const std::string& target, int percent, int charging, std::string& error);

    // The version the target's HID attributes report from its next plug on.
    bool SetFirmwareVersion(const std::string& target, uint16_t version, std::string& error);

    void SetLatency(std::chrono::microseconds usbFrame, std::chrono::microseconds radioHop);

    // Writes every device's state to the state file (true and nothing done without one). Entries of
    // devices not emulated in this run are kept.
    bool SaveState(std::string& error) const;

private:
    struct Device {
        std::string instance;
        std::shared_ptr<CFirmwareModel> model;
        std::vector<std::shared_ptr<CFirmwareNode>> nodes;
    };
    struct Target {
        Device* device = nullptr;
        EmulatedPort port = EmulatedPort::Cable;
    };

    CEmulation() = default;
    bool FindTarget(const std::string& name, Target& target, std::string& error) const;
    bool IsPlugged(const Device& device, EmulatedPort port) const;
    static std::string NodeName(const std::string& instance, const EmulatedNodeLayout& layout);

    std::unique_ptr<CEmulatedBackend> backend_;
    std::vector<std::unique_ptr<Device>> devices_;
    std::shared_ptr<CReportLog> log_;
    std::filesystem::path stateFile_;
    Json::Value loadedState_;  // the state file as read, so entries of other devices survive a save
};

}  // namespace zevik

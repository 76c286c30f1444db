#include "emulator/emulation.h"

#include <map>

#include "emulator/device_model_registry.h"
#include "emulator/emulation_list.h"
#include "emulator/emulator_state_file.h"
#include "emulator/report_log.h"

namespace zevik {
namespace {

constexpr std::string_view kReceiverSuffix = "-receiver";
constexpr const char* kDevicesMember = "devices";

}  // namespace

std::string CEmulation::NodeName(const std::string& instance, const EmulatedNodeLayout& layout) {
    return instance + (layout.port == EmulatedPort::Receiver ? std::string(kReceiverSuffix) : "") + layout.suffix;
}

std::unique_ptr<CEmulation> CEmulation::Create(const EmulationOptions& options, std::string& error) {
    std::vector<EmulatedDeviceRequest> requests;
    if (!ParseEmulationList(options.list, requests, error)) return nullptr;

    std::unique_ptr<CEmulation> emulation(new CEmulation());
    emulation->backend_ = std::make_unique<CEmulatedBackend>();
    emulation->stateFile_ = options.stateFile;
    if (!options.stateFile.empty() &&
        !LoadEmulatorStateFile(options.stateFile, emulation->loadedState_, error)) {
        return nullptr;
    }
    const Json::Value& savedDevices = emulation->loadedState_.isObject()
                                          ? emulation->loadedState_[kDevicesMember]
                                          : Json::Value::nullSingleton();
    if (!savedDevices.isNull() && !savedDevices.isObject()) {
        error = "the emulator state file " + options.stateFile.string() + ": \"devices\" is not an object";
        return nullptr;
    }

    std::map<std::string, int> perKind;
    for (const EmulatedDeviceRequest& request : requests) {
        const int number = ++perKind[request.kind];
        auto device = std::make_unique<Device>();
        device->instance = number == 1 ? request.kind : request.kind + std::to_string(number);
        device->model = FindDeviceModelKind(request.kind)->create();
        if (savedDevices.isObject() && savedDevices.isMember(device->instance)) {
            std::string why;
            if (!device->model->LoadState(savedDevices[device->instance], why)) {
                error = "the emulator state file " + options.stateFile.string() + ", device \"" +
                        device->instance + "\": " + why;
                return nullptr;
            }
        }
        for (EmulatedNodeLayout& layout : device->model->NodeLayouts()) {
            const bool plugged = layout.port == EmulatedPort::Cable ? request.cable : request.receiver;
            const std::string name = NodeName(device->instance, layout);
            auto node = std::make_shared<CFirmwareNode>(name, std::move(layout), device->model);
            if (!emulation->backend_->AddNode(node, plugged)) {
                error = "cannot add the emulated node \"" + name + "\"";
                return nullptr;
            }
            device->nodes.push_back(std::move(node));
        }
        emulation->devices_.push_back(std::move(device));
    }

    if (!options.logFile.empty()) {
        auto log = std::make_shared<CReportLog>();
        if (!log->Open(options.logFile, error)) return nullptr;
        emulation->log_ = log;
        // The hook keeps the log alive as long as a transfer may still use it.
        emulation->backend_->SetReportHook(
            [log](EmulatedReportDirection direction, const std::string& path,
                  std::span<const uint8_t> report) { log->Write(direction, path, report); });
    }
    emulation->SetLatency(options.usbFrame, options.radioHop);
    return emulation;
}

CEmulation::~CEmulation() = default;

std::vector<std::string> CEmulation::Targets() const {
    std::vector<std::string> targets;
    for (const auto& device : devices_) {
        targets.push_back(device->instance);
        if (device->model->HasReceiver()) targets.push_back(device->instance + std::string(kReceiverSuffix));
    }
    return targets;
}

bool CEmulation::FindTarget(const std::string& name, Target& target, std::string& error) const {
    for (const auto& device : devices_) {
        if (name == device->instance) {
            target = {device.get(), EmulatedPort::Cable};
            return true;
        }
        if (device->model->HasReceiver() && name == device->instance + std::string(kReceiverSuffix)) {
            target = {device.get(), EmulatedPort::Receiver};
            return true;
        }
    }
    std::string known;
    for (const std::string& candidate : Targets()) known += (known.empty() ? "" : ", ") + candidate;
    error = "unknown emulated device \"" + name + "\" (known: " + known + ")";
    return false;
}

CFirmwareModel* CEmulation::Model(const std::string& target) const {
    Target found;
    std::string ignored;
    return FindTarget(target, found, ignored) ? found.device->model.get() : nullptr;
}

bool CEmulation::IsPlugged(const Device& device, EmulatedPort port) const {
    for (const auto& node : device.nodes) {
        if (node->Layout().port == port && node->Layout().answersProtocol)
            return backend_->IsPlugged(node->Name());
    }
    return false;
}

bool CEmulation::Plug(const std::string& target, std::string& error) {
    Target found;
    if (!FindTarget(target, found, error)) return false;
    for (const auto& node : found.device->nodes) {
        if (node->Layout().port == found.port) backend_->Plug(node->Name());
    }
    return true;
}

bool CEmulation::Unplug(const std::string& target, std::string& error) {
    Target found;
    if (!FindTarget(target, found, error)) return false;
    for (const auto& node : found.device->nodes) {
        if (node->Layout().port == found.port) backend_->Unplug(node->Name());
    }
    return true;
}

bool CEmulation::SetInRange(const std::string& target, bool inRange, std::string& error) {
    Target found;
    if (!FindTarget(target, found, error)) return false;
    if (!found.device->model->HasReceiver()) {
        error = "\"" + target + "\" has no receiver";
        return false;
    }
    found.device->model->SetInRange(inRange);
    return true;
}

bool CEmulation::Notify(const std::string& target, uint16_t usage, std::string& error) {
    Target found;
    if (!FindTarget(target, found, error)) return false;
    Device& device = *found.device;
    EmulatedPort port = found.port;
    if (target == device.instance && !IsPlugged(device, EmulatedPort::Cable) && device.model->HasReceiver()) {
        port = EmulatedPort::Receiver;  // the device talks through its receiver when the cable is out
    }
    const std::vector<uint8_t> report = device.model->MakeNotification(usage);
    if (report.empty()) {
        error = "\"" + target + "\" sends no notifications";
        return false;
    }
    if (port == EmulatedPort::Receiver && !device.model->InRange()) {
        error = "\"" + device.instance + "\" is out of its receiver's range";
        return false;
    }
    for (const auto& node : device.nodes) {
        if (node->Layout().port != port || !node->Layout().carriesNotifications) continue;
        if (backend_->SendInput(node->Name(), report)) return true;
        error = "no host listens on \"" + node->Name() + "\" (unplugged, or no interface open)";
        return false;
    }
    error = "\"" + target + "\" has no notification interface";
    return false;
}

bool CEmulation::SetBattery(const std::string& target, int percent, int charging, std::string& error) {
    Target found;
    if (!FindTarget(target, found, error)) return false;
    if (percent < 0 || percent > 100 || charging < 0 || charging > 2) {
        error = "battery level must be 0 to 100 and charging state 0, 1 or 2";
        return false;
    }
    if (!found.device->model->SetBattery(static_cast<uint8_t>(percent), static_cast<uint8_t>(charging))) {
        error = "\"" + target + "\" has no battery";
        return false;
    }
    return true;
}

bool CEmulation::SetFirmwareVersion(const std::string& target, uint16_t version, std::string& error) {
    Target found;
    if (!FindTarget(target, found, error)) return false;
    found.device->model->SetFirmwareVersion(found.port, version);
    return true;
}

void CEmulation::SetLatency(std::chrono::microseconds usbFrame, std::chrono::microseconds radioHop) {
    for (const auto& device : devices_) {
        for (const auto& node : device->nodes) {
            backend_->SetLatency(
                node->Name(), node->Layout().port == EmulatedPort::Receiver ? usbFrame + radioHop : usbFrame);
        }
    }
}

bool CEmulation::SaveState(std::string& error) const {
    if (stateFile_.empty()) return true;
    Json::Value root = loadedState_.isObject() ? loadedState_ : Json::Value(Json::objectValue);
    Json::Value& devices = root[kDevicesMember];
    if (!devices.isObject()) devices = Json::Value(Json::objectValue);
    for (const auto& device : devices_) devices[device->instance] = device->model->SaveState();
    return SaveEmulatorStateFile(stateFile_, root, error);
}

}  // namespace zevik

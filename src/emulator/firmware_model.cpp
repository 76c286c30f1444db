#include "emulator/firmware_model.h"

#include <algorithm>
#include <utility>

#include "platform/hex_text.h"

namespace zevik {
namespace {

using namespace vendor;

uint16_t AddressOf(const Report& request) {
    return static_cast<uint16_t>(request[kOffsetAddressLow] | (request[kOffsetAddressHigh] << 8));
}

// A command code that is neither the request's nor the receiver's 0xAA.
uint8_t WrongEcho(uint8_t command) {
    const auto echo = static_cast<uint8_t>(command ^ 0x80);
    return echo == kReceiverCannotServe ? static_cast<uint8_t>(echo + 1) : echo;
}

}  // namespace

CFirmwareModel::CFirmwareModel(std::string kind, bool hasReceiver)
    : kind_(std::move(kind)), hasReceiver_(hasReceiver) {}

void CFirmwareModel::AddArea(const std::string& name, std::vector<uint8_t> contents) {
    areas_[name] = std::move(contents);
}

void CFirmwareModel::MapTransfer(uint8_t command, const std::string& area, AreaAccess access) {
    transfers_[command] = {area, access};
}

void CFirmwareModel::MapStatus(const std::string& area) {
    statusArea_ = area;
}

void CFirmwareModel::AcceptCommand(uint8_t command) {
    accepted_.push_back(command);
}

std::vector<uint8_t>* CFirmwareModel::Area(const std::string& name) {
    const auto it = areas_.find(name);
    return it == areas_.end() ? nullptr : &it->second;
}

void CFirmwareModel::HandleReport(EmulatedPort port, std::span<const uint8_t> report,
                                  IEmulatedInputSink& sink) {
    // Reports of the device's other collections (or of no protocol at all) are not requests.
    if (report.empty()) return;
    if (report[kOffsetReportId] != kReportId) {
        std::lock_guard lock(mutex_);
        OnOtherOutputReport(port, report);
        return;
    }
    Report request{};
    std::copy_n(report.begin(), std::min(report.size(), kReportSize), request.begin());
    const uint8_t command = request[kOffsetCommand];

    std::lock_guard lock(mutex_);
    const auto fault = faults_.Take(command);
    if (fault == EmulatedFault::NoAnswer) return;
    if (fault == EmulatedFault::UnplugDuringTransfer) {
        sink.Unplug();
        return;
    }

    Report answer{};
    answer[kOffsetReportId] = kReportId;
    answer[kOffsetCommand] = command;
    std::copy_n(request.begin() + kOffsetLength, kOffsetStatus - kOffsetLength,
                answer.begin() + kOffsetLength);

    // The protected exchange through the receiver carries a CRC instead of the checksum, both ways.
    const bool crcProtected = port == EmulatedPort::Receiver && command == kCmdStreamLights;
    const bool cannotServe =
        fault == EmulatedFault::ReceiverCannotServe ||
        (port == EmulatedPort::Receiver && !inRange_ && command != kCmdQueryReceiverLink);
    if (cannotServe) {
        answer[kOffsetCommand] = kReceiverCannotServe;
    } else if (!(crcProtected ? CrcMatches(request) : ChecksumMatches(request))) {
        answer[kOffsetStatus] = kStatusFailed;
    } else if (fault == EmulatedFault::StatusFailed) {
        answer[kOffsetStatus] = kStatusFailed;
    } else if (fault == EmulatedFault::StatusRejected) {
        answer[kOffsetStatus] = kStatusRejected;
    } else {
        answer[kOffsetStatus] = Execute(port, request, answer);
    }
    if (fault == EmulatedFault::WrongEcho) answer[kOffsetCommand] = WrongEcho(command);

    if (crcProtected) {
        StoreCrc(answer);
    } else {
        StoreChecksum(answer);
    }
    if (fault == EmulatedFault::BadCrc) {
        answer[kOffsetChecksumLow] ^= 0xFF;
        answer[kOffsetChecksumHigh] ^= 0xFF;
    }
    sink.SendInput(answer);
}

uint8_t CFirmwareModel::Execute(EmulatedPort port, const Report& request, Report& answer) {
    const uint8_t command = request[kOffsetCommand];
    if (command == kCmdQueryReceiverLink && hasReceiver_) {
        // By cable the device is trivially linked.
        answer[kOffsetPayload] = (port == EmulatedPort::Cable || inRange_) ? 0xFF : 0x00;
        return kStatusOk;
    }
    if (command == kCmdReadStatus && !statusArea_.empty()) return ReadStatus(port, request, answer);
    if (std::find(accepted_.begin(), accepted_.end(), command) != accepted_.end()) {
        OnCommand(command);
        return kStatusOk;
    }
    const auto mapping = transfers_.find(command);
    if (mapping != transfers_.end()) {
        const uint8_t status = Transfer(mapping->second, request, answer);
        if (status == kStatusOk) OnCommand(command);
        return status;
    }
    return kStatusFailed;  // a command this device does not know
}

uint8_t CFirmwareModel::Transfer(const Mapping& mapping, const Report& request, Report& answer) {
    std::vector<uint8_t>* area = Area(mapping.area);
    const size_t length = request[kOffsetLength];
    const size_t address = AddressOf(request);
    if (area == nullptr || length == 0 || length > kMaxPayload || address + length > area->size()) {
        return kStatusFailed;  // nothing is read or written outside the area
    }
    if (mapping.access == AreaAccess::Read) {
        std::copy_n(area->begin() + static_cast<std::ptrdiff_t>(address), length,
                    answer.begin() + kOffsetPayload);
    } else {
        std::copy_n(request.begin() + kOffsetPayload, length,
                    area->begin() + static_cast<std::ptrdiff_t>(address));
    }
    return kStatusOk;
}

uint8_t CFirmwareModel::ReadStatus(EmulatedPort port, const Report& request, Report& answer) {
    std::vector<uint8_t>* area = Area(statusArea_);
    const size_t count = std::min<size_t>(request[kOffsetLength], kMaxPayload);
    const size_t address = AddressOf(request);
    if (area == nullptr || address + count > area->size()) return kStatusFailed;
    std::copy_n(area->begin() + static_cast<std::ptrdiff_t>(address), count, answer.begin() + kOffsetPayload);
    OnStatusRead(port, std::span<uint8_t>(answer).subspan(kOffsetPayload, count), address);
    return kStatusOk;
}

void CFirmwareModel::SetInRange(bool inRange) {
    std::lock_guard lock(mutex_);
    inRange_ = inRange;
}

bool CFirmwareModel::InRange() const {
    std::lock_guard lock(mutex_);
    return inRange_;
}

void CFirmwareModel::SetFirmwareVersion(EmulatedPort port, uint16_t version) {
    std::lock_guard lock(mutex_);
    (port == EmulatedPort::Cable ? cableVersion_ : receiverVersion_) = version;
}

uint16_t CFirmwareModel::FirmwareVersion(EmulatedPort port) const {
    std::lock_guard lock(mutex_);
    return port == EmulatedPort::Cable ? cableVersion_ : receiverVersion_;
}

std::vector<uint8_t> CFirmwareModel::MakeNotification(uint16_t usage) {
    if (notificationReportId_ == 0) return {};
    std::lock_guard lock(mutex_);
    OnNotification(usage);
    return {notificationReportId_, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)};
}

std::vector<std::string> CFirmwareModel::AreaNames() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const auto& [name, bytes] : areas_) names.push_back(name);
    return names;
}

std::vector<uint8_t> CFirmwareModel::ReadArea(const std::string& name) const {
    std::lock_guard lock(mutex_);
    const auto it = areas_.find(name);
    return it == areas_.end() ? std::vector<uint8_t>{} : it->second;
}

bool CFirmwareModel::WriteArea(const std::string& name, size_t offset, std::span<const uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    std::vector<uint8_t>* area = Area(name);
    if (area == nullptr || offset > area->size() || bytes.size() > area->size() - offset) return false;
    std::copy(bytes.begin(), bytes.end(), area->begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

Json::Value CFirmwareModel::SaveState() const {
    std::lock_guard lock(mutex_);
    Json::Value state(Json::objectValue);
    state["kind"] = kind_;
    state["in_range"] = inRange_;
    state["firmware"]["cable"] = cableVersion_;
    if (hasReceiver_) state["firmware"]["receiver"] = receiverVersion_;
    Json::Value& areas = state["areas"];
    areas = Json::Value(Json::objectValue);
    for (const auto& [name, bytes] : areas_) areas[name] = FormatHexBytes(bytes, "");
    return state;
}

bool CFirmwareModel::LoadState(const Json::Value& state, std::string& error) {
    if (!state.isObject()) {
        error = "the " + kind_ + " entry is not an object";
        return false;
    }
    if (!state.isMember("kind") || !state["kind"].isString() || state["kind"].asString() != kind_) {
        error = "the entry's \"kind\" is not \"" + kind_ + "\"";
        return false;
    }
    const Json::Value& inRange = state["in_range"];
    if (!inRange.isNull() && !inRange.isBool()) {
        error = "\"in_range\" is not true or false";
        return false;
    }
    const Json::Value& firmware = state["firmware"];
    if (!firmware.isNull() && !firmware.isObject()) {
        error = "\"firmware\" is not an object";
        return false;
    }
    for (const char* key : {"cable", "receiver"}) {
        const Json::Value& version = firmware.isObject() ? firmware[key] : Json::Value::nullSingleton();
        if (!version.isNull() && (!version.isUInt() || version.asUInt() > 0xFFFF)) {
            error = std::string("\"firmware\".\"") + key + "\" is not a number from 0 to 65535";
            return false;
        }
    }
    const Json::Value& areas = state["areas"];
    if (!areas.isNull() && !areas.isObject()) {
        error = "\"areas\" is not an object";
        return false;
    }

    std::lock_guard lock(mutex_);
    std::map<std::string, std::vector<uint8_t>> loaded;
    if (areas.isObject()) {
        for (const std::string& name : areas.getMemberNames()) {
            const auto current = areas_.find(name);
            if (current == areas_.end()) {
                error = "unknown area \"" + name + "\"";
                return false;
            }
            std::vector<uint8_t> bytes;
            if (!areas[name].isString() || !ParseHexBytes(areas[name].asString(), bytes)) {
                error = "area \"" + name + "\" is not hexadecimal text";
                return false;
            }
            if (bytes.size() != current->second.size()) {
                error = "area \"" + name + "\" holds " + std::to_string(bytes.size()) + " bytes, expected " +
                        std::to_string(current->second.size());
                return false;
            }
            loaded[name] = std::move(bytes);
        }
    }
    for (auto& [name, bytes] : loaded) areas_[name] = std::move(bytes);
    if (inRange.isBool()) inRange_ = inRange.asBool();
    if (firmware.isObject()) {
        if (firmware["cable"].isUInt()) cableVersion_ = static_cast<uint16_t>(firmware["cable"].asUInt());
        if (firmware["receiver"].isUInt())
            receiverVersion_ = static_cast<uint16_t>(firmware["receiver"].asUInt());
    }
    return true;
}

}  // namespace zevik

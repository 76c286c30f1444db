#include "emulator/emulation_list.h"

#include "emulator/device_model_registry.h"

namespace zevik {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string KnownKinds() {
    std::string names;
    for (const DeviceModelKind& kind : DeviceModelKinds()) {
        if (!names.empty()) names += ", ";
        names += kind.name;
    }
    return names;
}

bool ParseItem(std::string_view item, EmulatedDeviceRequest& request, std::string& error) {
    const size_t at = item.find('@');
    const std::string_view kindName = Trim(item.substr(0, at));
    const std::string_view connection = at == std::string_view::npos ? "cable" : Trim(item.substr(at + 1));
    const DeviceModelKind* kind = FindDeviceModelKind(kindName);
    if (kind == nullptr) {
        error = "unknown device kind \"" + std::string(kindName) + "\" (known: " + KnownKinds() + ")";
        return false;
    }
    request.kind = std::string(kindName);
    if (connection == "cable") {
        request.cable = true;
        request.receiver = false;
    } else if (connection == "receiver" || connection == "both") {
        const auto model = kind->create();
        if (!model->HasReceiver()) {
            error = "\"" + std::string(item) + "\": a " + request.kind + " has no receiver";
            return false;
        }
        if (connection == "receiver" && !model->ServesReceiverAlone()) {
            error = "\"" + std::string(item) + "\": a " + request.kind +
                    "'s receiver has the ids of its cable; emulate it with \"" + request.kind + "@both\"";
            return false;
        }
        request.cable = connection == "both";
        request.receiver = true;
    } else if (connection == "unplugged") {
        request.cable = false;  // known to the emulator, to be plugged in later
        request.receiver = false;
    } else {
        error = "\"" + std::string(item) + "\": unknown connection \"" + std::string(connection) +
                "\" (cable, receiver, both or unplugged)";
        return false;
    }
    return true;
}

}  // namespace

bool ParseEmulationList(std::string_view list, std::vector<EmulatedDeviceRequest>& requests,
                        std::string& error) {
    requests.clear();
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = list.find(',', start);
        const std::string_view item =
            Trim(list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
        if (item.empty()) {
            error = "empty device kind in the emulation list \"" + std::string(list) + "\"";
            requests.clear();
            return false;
        }
        EmulatedDeviceRequest request;
        if (!ParseItem(item, request, error)) {
            requests.clear();
            return false;
        }
        requests.push_back(std::move(request));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return true;
}

}  // namespace zevik

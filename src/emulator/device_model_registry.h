#pragma once
// The device kinds the emulator knows. Adding a kind: write its model (a CFirmwareModel) and add one
// line to the table in device_model_registry.cpp.

#include <memory>
#include <span>
#include <string_view>

#include "emulator/firmware_model.h"

namespace zevik {

struct DeviceModelKind {
    std::string_view name;  // as written in the emulation list ("mouse")
    std::shared_ptr<CFirmwareModel> (*create)();
};

std::span<const DeviceModelKind> DeviceModelKinds();
// Null for an unknown name.
const DeviceModelKind* FindDeviceModelKind(std::string_view name);

}  // namespace zevik

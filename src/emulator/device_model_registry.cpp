#include "emulator/device_model_registry.h"

#include <array>

#include "emulator/keyboard_model.h"
#include "emulator/mouse_model.h"
#include "emulator/mousepad_model.h"

namespace zevik {
namespace {

template <typename Model>
std::shared_ptr<CFirmwareModel> Create() {
    return std::make_shared<Model>();
}

constexpr std::array kKinds{
    DeviceModelKind{"mouse", &Create<CMouseModel>},
    DeviceModelKind{"keyboard", &Create<CKeyboardModel>},
    DeviceModelKind{"mousepad", &Create<CMousepadModel>},
};

}  // namespace

std::span<const DeviceModelKind> DeviceModelKinds() {
    return kKinds;
}

const DeviceModelKind* FindDeviceModelKind(std::string_view name) {
    for (const DeviceModelKind& kind : kKinds) {
        if (kind.name == name) return &kind;
    }
    return nullptr;
}

}  // namespace zevik

#include "shell/emulator_phone.h"

#include "emulator/emulation.h"
#include "emulator/mousepad_model.h"
#include "shell/command_numbers.h"

namespace zevik {

bool RunPhoneWord(CEmulation& emulation, const std::string& target, const std::string& phone, std::string& error) {
    const auto value = NumberInRange("the phone", phone, 0, CMousepadModel::kPhoneKinds - 1, error);
    if (!value) return false;
    auto* pad = dynamic_cast<CMousepadModel*>(emulation.Model(target));
    if (pad == nullptr) {
        error = "\"" + target + "\" is not an emulated mousepad";
        return false;
    }
    return pad->SetPhone(static_cast<std::uint8_t>(*value));
}

}  // namespace zevik

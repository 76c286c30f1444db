// COrbantixKeyboardDevice: the two key layers and the macro image.
//
// Not written yet: until then nothing is sent and no macro is in use.

#include "devices/keyboard_device.h"

namespace zevik {

int COrbantixKeyboardDevice::CheckMacroKeys() {
    return 0;
}

std::vector<int> COrbantixKeyboardDevice::GetUsedMacros() {
    return {};
}

int COrbantixKeyboardDevice::WriteKeyLayer1(int /*profileSlot*/, const std::vector<KeyAssignRecord>& /*keys*/) {
    return 0;
}

int COrbantixKeyboardDevice::WriteKeyLayer2(int /*profileSlot*/, const std::vector<KeyAssignRecord>& /*keys*/) {
    return 0;
}

int COrbantixKeyboardDevice::WriteCurrentKeyLayer1(int /*profileSlot*/) {
    return 0;
}

int COrbantixKeyboardDevice::WriteCurrentKeyLayer2(int /*profileSlot*/) {
    return 0;
}

int COrbantixKeyboardDevice::WriteMacros(const std::vector<int>& /*macroNumbers*/) {
    return 0;
}

}  // namespace zevik

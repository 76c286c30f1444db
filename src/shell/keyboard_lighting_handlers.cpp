#include "shell/keyboard_lighting_handlers.h"

#include "devices/keyboard_custom_colour_control.h"
#include "devices/orbantix_usb_device.h"
#include "editors/light_control_ui.h"
#include "platform/trace.h"
#include "shell/lighting_handlers.h"
#include "shell/main_window_ops.h"
#include "transport/command_set.h"

namespace zevik {

namespace {

struct KeyboardTarget {
    COrbantixUSBDevice* device = nullptr;
    IKeyboardCustomColours* colours = nullptr;
    CLightControlUI* control = nullptr;
    explicit operator bool() const { return device != nullptr && colours != nullptr && control != nullptr; }
};

KeyboardTarget CurrentKeyboard(IMainWindowOps& ops) {
    COrbantixUSBDevice* device = ops.GetCurrentDevice();
    if (device == nullptr || device->GetKind() != kDeviceKindKeyboard) return {};
    auto* colours = static_cast<IKeyboardCustomColours*>(device->GetInterface(IKeyboardCustomColours::kInterfaceName));
    return {device, colours, LightControlOf(device)};
}

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// The lighting page is the one the user sees: the control and every container above it shown.
bool IsShown(const CControlUI* control) {
    for (const CControlUI* c = control; c != nullptr; c = c->GetParent()) {
        if (!c->IsVisible()) return false;
    }
    return control != nullptr;
}

void TraceFailure(const char* what, int result) {
    if (result != kResultDone) Trace(std::string("keyboard: ") + what + ": " + CommandResultText(result));
}

}  // namespace

void OnZzccModeSelected(IMainWindowOps& ops, int index) {
    const KeyboardTarget target = CurrentKeyboard(ops);
    if (!target || index < 0) return;
    target.control->SetZzccMode(index);
    LightInfoRecord record = target.device->GetLighting();
    record.zzccLedMode = Byte(index);
    CommitLighting(*target.device, record);
}

void OnCustomSlotSelected(IMainWindowOps& ops, int slot) {
    const KeyboardTarget target = CurrentKeyboard(ops);
    if (!target || slot < 0) return;
    target.colours->SelectCustomSlot(slot);
    LightInfoRecord record = target.device->GetLighting();
    record.customGroup = Byte(slot);
    // The effect itself does not change: the animation is not restarted.
    target.device->SetLighting(record);
    target.device->SaveDeviceProfile();
    const int written = target.device->WriteSettingsBlock(0, 0);
    if (target.device->CommandChannel().IsOpen()) TraceFailure("the settings block was not written", written);
    TraceFailure("the custom colours were not shown", target.colours->ShowCustomSlot(slot));
}

void OnCustomAllKeys(IMainWindowOps& ops, bool lit) {
    const KeyboardTarget target = CurrentKeyboard(ops);
    if (!target || !target.colours->InCustomColourMode()) return;
    TraceFailure("the custom colours were not written", target.colours->SetAllCustomKeys(lit));
}

bool OnCustomKeyClicked(IMainWindowOps& ops, int key) {
    const KeyboardTarget target = CurrentKeyboard(ops);
    if (!target || !target.colours->InCustomColourMode() || !IsShown(target.control)) return false;
    TraceFailure("the key colour was not written", target.colours->SetCustomKey(key));
    return true;
}

}  // namespace zevik

#include "shell/key_handlers.h"

#include "devices/mp_device_power_ui.h"
#include "devices/orbantix_usb_device.h"
#include "editors/evdev_key_map.h"
#include "editors/key_set_control_ui.h"
#include "editors/key_tables.h"
#include "shell/device_hook.h"
#include "ui/option_ui.h"

#include <linux/input-event-codes.h>

namespace zevik {

namespace {

bool HasKeyPage(const COrbantixUSBDevice* device) {
    return device != nullptr &&
           (device->GetKind() == kDeviceKindMouse || device->GetKind() == kDeviceKindKeyboard);
}

struct KeyTarget {
    COrbantixUSBDevice* device = nullptr;
    CKeySetControlUI* control = nullptr;
    explicit operator bool() const { return device != nullptr && control != nullptr; }
};

KeyTarget CurrentTarget(IMainWindowOps& ops) {
    COrbantixUSBDevice* device = ops.GetCurrentDevice();
    if (!HasKeyPage(device)) return {};
    return {device, KeySetControlOf(device)};
}

}  // namespace

CKeySetControlUI* KeySetControlOf(COrbantixUSBDevice* device) { return FindControlOfClass<CKeySetControlUI>(device); }

void OnKeyButton(IMainWindowOps& ops, int index) {
    COrbantixUSBDevice* device = ops.GetCurrentDevice();
    if (!HasKeyPage(device)) return;
    if (device->IsLastLeftButton(index)) {
        ops.AskUser("message_text_6", 0);
        return;
    }
    device->SelectKeyOnPage(index);
}

void OnKeySave(IMainWindowOps& ops) {
    const KeyTarget target = CurrentTarget(ops);
    if (!target) return;
    if (const std::optional<KeyAssignRecord> record = target.control->BuildAssignment()) {
        target.device->StoreKeyAssignment(*record);
    }
    SetKeyEditState(ops, 0, 0);
}

void OnKeyDefault(IMainWindowOps& ops) {
    const KeyTarget target = CurrentTarget(ops);
    if (!target) return;
    target.control->ShowDefault();
    // The keyboard takes its factory function at once; the mouse only shows it until it is kept.
    if (target.device->GetKind() == kDeviceKindKeyboard) {
        OnKeySave(ops);
        OnKeyWrite(ops);
        return;
    }
    SetKeyEditState(ops, 0, 0);
}

void OnKeyCancel(IMainWindowOps& ops) {
    const KeyTarget target = CurrentTarget(ops);
    if (!target) return;
    target.control->ShowStored();
    SetKeyEditState(ops, 0, 1);
}

int OnKeyWrite(IMainWindowOps& ops) {
    COrbantixUSBDevice* device = ops.GetCurrentDevice();
    if (!HasKeyPage(device)) return -1;
    const int result = device->WriteKeysAndMacros();
    ReportProfileSwitch(ops, result);
    SetKeyEditState(ops, 0, 1);
    return result;
}

void OnKeyChoice(IMainWindowOps& ops, std::string_view control) {
    const KeyTarget target = CurrentTarget(ops);
    if (!target) return;
    if (control == "keyset_function_combo") target.control->OnFunctionSelected();
    if (control == "keyset_macro_over_combo") target.control->OnPlayModeSelected();
    OnKeySave(ops);
}

void OnCapturedInput(IMainWindowOps& ops, int mode, const InputEvent& event) {
    if (mode != kHookKeyCapture || event.type != EV_KEY || event.value != 1) return;
    const KeyTarget target = CurrentTarget(ops);
    if (!target || !target.control->HasOpenKey()) return;
    const int row = KeyRowOfEvdevCode(event.code);
    if (row < 0) return;
    if (row < kFirstOrdinaryKeyRow) {
        // Both Ctrl rows select option 1, Shift 2, Alt 3, Win 4.
        const int option = ((row + 1) % 5) + (row + 1) / 5;
        for (int n = 0; n < kModifierOptions; ++n) {
            if (COptionUI* o = target.control->ModifierOption(n)) o->Selected(n == option, false);
        }
        target.control->BuildAssignment();
        return;
    }
    target.control->SetKeyText(row);
}

void SetKeyEditState(IMainWindowOps& ops, int s, int b) {
    COrbantixUSBDevice* device = ops.GetCurrentDevice();
    if (s == 1) {
        if (CControlUI* selector = ops.FindMainControl("device_select_layout")) selector->SetEnabled(b == 1);
        if (device != nullptr && device->GetPowerPanel() != nullptr) device->GetPowerPanel()->SetEnabled(b == 1);
    }
    if (!HasKeyPage(device)) return;
    for (const char* name : {"key_butt_keysave", "key_butt_keycancel", "key_butt_prosave"}) {
        const std::string_view wanted = name;
        if (CControlUI* button = device->FindControl(
                [wanted](CControlUI& c) { return c.GetName() == wanted; }, UIFIND_ALL)) {
            button->SetEnabled(b == 0);
        }
    }
}

}  // namespace zevik

#include "shell/lighting_handlers.h"

#include <array>

#include "devices/orbantix_usb_device.h"
#include "editors/light_control_ui.h"
#include "platform/trace.h"
#include "shell/main_window_ops.h"
#include "transport/command_set.h"

namespace zevik {

namespace {

using Channel = CLightControlUI::Channel;

struct LightTarget {
    COrbantixUSBDevice* device = nullptr;
    CLightControlUI* control = nullptr;
    explicit operator bool() const { return device != nullptr && control != nullptr; }
};

LightTarget CurrentTarget(IMainWindowOps& ops) {
    COrbantixUSBDevice* device = ops.GetCurrentDevice();
    return {device, LightControlOf(device)};
}

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

void SetColour(LightInfoRecord& record, UiColor colour) {
    record.red = Byte(static_cast<int>(colour >> 16));
    record.green = Byte(static_cast<int>(colour >> 8));
    record.blue = Byte(static_cast<int>(colour));
    record.multiColor = 0;
}

UiColor ColourOf(const LightInfoRecord& record) {
    return CLightControlUI::kOpaque | static_cast<UiColor>(record.red) << 16 |
           static_cast<UiColor>(record.green) << 8 | record.blue;
}

// A change of one part of the record, with the same-mode flag cleared first.
template <class Change>
void ChangeRecord(const LightTarget& target, Change change) {
    target.device->SetSameMode(false);
    LightInfoRecord record = target.device->GetLighting();
    change(record);
    CommitLighting(*target.device, record);
}

}  // namespace

CLightControlUI* LightControlOf(COrbantixUSBDevice* device) { return FindControlOfClass<CLightControlUI>(device); }

void CommitLighting(COrbantixUSBDevice& device, const LightInfoRecord& record,
                    const std::function<void()>& beforeWrite) {
    device.SetLighting(record);
    device.SaveDeviceProfile();
    device.ApplyLightSettings();
    if (beforeWrite) beforeWrite();
    const int result = device.WriteSettingsBlock(0, 0);
    if (result != kResultDone && device.CommandChannel().IsOpen()) {
        Trace("lighting: the settings block was not written: " + CommandResultText(result));
    }
}

void OnLightModeSelected(IMainWindowOps& ops, int index) {
    const LightTarget target = CurrentTarget(ops);
    if (!target || index < 0) return;
    target.device->SetSameMode(false);
    target.control->SelectMode(index);
    LightInfoRecord record = target.device->GetLighting();
    record.selectItem = Byte(index);
    CommitLighting(*target.device, record);
}

void OnLightBrightness(IMainWindowOps& ops, int value) {
    const LightTarget target = CurrentTarget(ops);
    if (!target) return;
    target.control->SetBrightness(value);
    ChangeRecord(target, [value](LightInfoRecord& r) { r.light = Byte(value); });
}

void OnLightSpeed(IMainWindowOps& ops, int value) {
    const LightTarget target = CurrentTarget(ops);
    if (!target) return;
    target.control->SetSpeed(value);
    ChangeRecord(target, [value](LightInfoRecord& r) { r.speed = Byte(value); });
}

void OnLightDirection(IMainWindowOps& ops, int direction) {
    const LightTarget target = CurrentTarget(ops);
    if (!target) return;
    target.control->SetDirection(direction);
    ChangeRecord(target, [direction](LightInfoRecord& r) { r.fx = Byte(direction); });
}

void OnLightMultiColour(IMainWindowOps& ops, bool on) {
    const LightTarget target = CurrentTarget(ops);
    if (!target) return;
    target.control->SetMultiColour(on);
    ChangeRecord(target, [on](LightInfoRecord& r) { r.multiColor = on ? 1 : 0; });
}

void OnLightPaletteColour(IMainWindowOps& ops) {
    const LightTarget target = CurrentTarget(ops);
    if (!target) return;
    const UiColor colour = target.control->GetPaletteColour();
    target.device->SetSameMode(false);
    LightInfoRecord record = target.device->GetLighting();
    SetColour(record, colour);
    CLightControlUI* control = target.control;
    CommitLighting(*target.device, record, [control, colour] {
        control->ShowColourEdits(colour);
        control->SetMultiColour(false);
        control->SetColourButton(colour);
    });
}

void OnLightColourEdit(IMainWindowOps& ops, int channel) {
    const LightTarget target = CurrentTarget(ops);
    if (!target || channel < 0 || channel > 2) return;
    const auto which = static_cast<Channel>(channel);
    const int value = CLightControlUI::ComponentOfText(target.control->GetEditText(which));
    target.control->SetEditText(which, std::to_string(value));
    target.device->SetSameMode(false);
    LightInfoRecord record = target.device->GetLighting();
    std::array<std::uint8_t*, 3> components = {&record.red, &record.green, &record.blue};
    *components[static_cast<size_t>(channel)] = Byte(value);
    record.multiColor = 0;
    const UiColor colour = ColourOf(record);
    CLightControlUI* control = target.control;
    CommitLighting(*target.device, record, [control, colour] {
        control->SetMultiColour(false);
        control->SetPaletteColour(colour);
        control->SetColourButton(colour);
    });
}

void OnLightColourOption(IMainWindowOps& ops, int n) {
    const LightTarget target = CurrentTarget(ops);
    if (!target) return;
    const UiColor colour = target.control->GetOptionColour(n);
    LightInfoRecord record = target.device->GetLighting();
    SetColour(record, colour);
    CLightControlUI* control = target.control;
    // The shown colour is opaque whatever alpha the option carries.
    const UiColor shown = ColourOf(record);
    CommitLighting(*target.device, record, [control, shown] {
        control->ShowColourEdits(shown);
        control->SetMultiColour(false);
        control->SetPaletteColour(shown);
        control->SetColourButton(shown);
    });
}

}  // namespace zevik

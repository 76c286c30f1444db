#pragma once
// The lighting handlers of the main window: each change on a device's lighting page becomes a change
// of the current device's lighting record, stored with its profile and written to the device
// (CommitLighting). Every handler starts from the current device and does nothing without one or
// without a lighting control on its page.
//
// The same-mode flag (the device follows synchronised lighting) is cleared by every change but a
// colour option: picking a preset keeps a following device in step with the others.

#include <functional>

#include "settings/light_info_record.h"
#include "ui/ui_types.h"

namespace zevik {

class CLightControlUI;
class COrbantixUSBDevice;
class IMainWindowOps;

// The lighting control on the device's page; null when it has none.
CLightControlUI* LightControlOf(COrbantixUSBDevice* device);

// SetLighting(record), SaveDeviceProfile, ApplyLightSettings, then WriteSettingsBlock(0, 0); the
// page steps that must follow the applied lighting but precede the write run in between.
void CommitLighting(COrbantixUSBDevice& device, const LightInfoRecord& record,
                    const std::function<void()>& beforeWrite = {});

// One per control of the page; value as the notification gives it.
void OnLightModeSelected(IMainWindowOps& ops, int index);   // "light_combo_modeSelect"
void OnLightBrightness(IMainWindowOps& ops, int value);     // "deng_light_slider"
void OnLightSpeed(IMainWindowOps& ops, int value);          // "deng_speed_slider"
void OnLightDirection(IMainWindowOps& ops, int direction);  // 1 "deng_FXL_check", 0 "deng_FXR_check"
void OnLightMultiColour(IMainWindowOps& ops, bool on);      // "deng_7color_check"
void OnLightPaletteColour(IMainWindowOps& ops);             // "deng_Color_Pallet"
void OnLightColourEdit(IMainWindowOps& ops, int channel);   // 0 "deng_edit_R", 1 "_G", 2 "_B"
void OnLightColourOption(IMainWindowOps& ops, int n);       // "color_option_" n

}  // namespace zevik

// COrbantixHS6533Device: the lighting of the ear cups (the LED-strip engine over the headset's 13
// LEDs), its settings block, and the frame that goes to the page and the LEDs.

#include "devices/device_messages.h"
#include "devices/hs6533_device.h"
#include "devices/light_control.h"
#include "settings/light_names_file.h"
#include "settings/profile_locations.h"
#include "transport/command_set.h"

namespace zevik {

int COrbantixHS6533Device::CurrentModeCode() const {
    const int item = GetLighting().selectItem;
    // An item beyond the list is taken as the code itself, as a block read keeps an unknown code.
    return item >= 0 && static_cast<std::size_t>(item) < modes_.codes.size()
               ? modes_.codes[static_cast<std::size_t>(item)]
               : item;
}

int COrbantixHS6533Device::LoadLightLists() {
    const CProfileLocations locations = ProfileLocationsOf(Context());
    LightNames names =
        ReadLightNames(locations.DefaultLightFile(), profile_.GetLightConfigPath(), GetProfileDeviceIndex());
    modes_ = SplitLightModes(std::move(names.modes));
    if (lightControl_ != nullptr)
        lightControl_->FillModeList(modes_.names, modes_.visible, kLightLevelMax, kLightLevelMax);
    return modes_.codes.empty() ? 0 : 1;
}

void COrbantixHS6533Device::ApplyLightSettings() {
    EnsureProfileLoaded();
    if (modes_.codes.empty()) LoadLightLists();
    const LightInfoRecord light = profile_.GetLightInfo();
    COrbantixUSBDevice::SetLighting(light);
    engine_.SetLighting(CurrentModeCode(), light);
    engine_.LoadEffects(profile_.GetCustomLightEffects(), profile_.GetLightList(), NowMs());
    blockPort_.TakeLighting(light);
}

void COrbantixHS6533Device::SetLighting(const LightInfoRecord& record) {
    COrbantixUSBDevice::SetLighting(record);
    profile_.SetLightInfo(record);
    engine_.SetLighting(CurrentModeCode(), record);
    blockPort_.TakeLighting(record);
}

int COrbantixHS6533Device::Resync() {
    CCommandChannel& channel = CommandChannel();
    channel.SetStreamPaused(false);
    int slot = 0;
    const int result = blockPort_.Read(modes_.codes, slot);
    if (result != kResultDone) return result;
    SendToMainWindow(UM_DEVICE_SLOT_CHANGED, static_cast<WPARAM>(slot), 0);
    return slot;
}

int COrbantixHS6533Device::WriteSettingsBlock(int blockSlot, int /*profileSlotValue*/) {
    return blockPort_.Write(blockSlot, GetLighting(), modes_.codes);
}

int COrbantixHS6533Device::LightStepPeriod() const {
    return engine_.PeriodTicks();
}

void COrbantixHS6533Device::RunLightStep() {
    engine_.Step(NowMs());
    // The page shows the engine's frame through the base's preview; the LEDs get it from the worker.
    const CLightFrame& frame = engine_.Frame();
    for (int led = 0; led < frame.Size(); ++led) Frame().Set(led, frame.Get(led));
    ledOutput_->Offer(frame);
}

}  // namespace zevik

// COrbantixHS6533Device: the lighting state, its steps, and the frame that goes to the LEDs.

#include "devices/hs6533_device.h"
#include "devices/light_control.h"
#include "settings/light_names_file.h"
#include "settings/profile_locations.h"

namespace zevik {

void COrbantixHS6533Device::ApplyLightSettings() {
    EnsureProfileLoaded();
    COrbantixUSBDevice::SetLighting(profile_.GetLightInfo());
}

int COrbantixHS6533Device::LightStepPeriod() const {
    return COrbantixUSBDevice::LightStepPeriod();
}

void COrbantixHS6533Device::RunLightStep() {
    COrbantixUSBDevice::RunLightStep();
    ledOutput_->Offer(Frame());
}

}  // namespace zevik

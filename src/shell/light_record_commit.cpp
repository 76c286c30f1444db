#include "shell/light_record_commit.h"

#include "devices/orbantix_usb_device.h"

namespace zevik {

int CommitLightRecord(COrbantixUSBDevice& device, const LightInfoRecord& record) {
    device.SetLighting(record);
    device.SaveDeviceProfile();
    device.ApplyLightSettings();
    return device.WriteSettingsBlock(0, 0);
}

}  // namespace zevik

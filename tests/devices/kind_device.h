#pragma once
// A device object of any kind (1 keyboard, 2 mouse, 3 mousepad, 7 headset, or one the program does
// not know) with a light frame of its own size: the base's lighting record and frame, no page. It
// counts the profile saves and block writes asked of it, and can play a device whose frame only
// goes to its page (unseen while hidden).

#include <atomic>

#include "devices/orbantix_usb_device.h"

namespace zevik::test {

class CKindDevice final : public COrbantixUSBDevice {
public:
    CKindDevice(const DeviceContext& context, int kind, int leds) : COrbantixUSBDevice(context) {
        SetKind(kind);
        SetPageName("page");
        SetLightButtonCount(leds);
        BindPage();
    }
    ~CKindDevice() override { StopWorkers(); }

    int WriteSettingsBlock(int, int) override { return ++writes; }
    int SaveDeviceProfile() override { return ++saves; }
    bool IsLightingUnseen() const override { return unseen.load(); }

    int writes = 0;
    int saves = 0;
    std::atomic<bool> unseen{false};
};

}  // namespace zevik::test

#include "shell/synchronised_lighting.h"

#include <utility>

#include "devices/orbantix_usb_device.h"
#include "editors/light_control_ui.h"
#include "shell/lighting_handlers.h"

namespace zevik {

CSynchronisedLighting::CSynchronisedLighting(const IDeviceClock* clock, std::chrono::microseconds tick)
    : m_thread(clock, tick) {}

bool CSynchronisedLighting::Start(COrbantixUSBDevice* current, const DeviceFamilies& families) {
    if (current == nullptr) return false;
    LightInfoRecord record = current->GetLighting();
    const std::optional<SharedEffect> effect =
        SharedEffectOfMode(current->GetKind(), record.selectItem, m_lastEffect);
    if (!effect) return false;
    m_lastEffect = *effect;
    m_thread.Configure(*effect, record);

    const std::pair<LightFamily, const std::vector<COrbantixUSBDevice*>*> order[] = {
        {LightFamily::Keyboard, &families.keyboards},
        {LightFamily::Mouse, &families.mice},
        {LightFamily::Mousepad, &families.mousepads},
        {LightFamily::Headset, &families.headsets},
    };
    for (const auto& [family, devices] : order) {
        record.selectItem = FamilyModeOfEffect(family, *effect);
        for (COrbantixUSBDevice* device : *devices) {
            if (device == nullptr || !device->CommandChannel().IsOpen()) continue;
            device->SetSameMode(true);
            if (CLightControlUI* control = LightControlOf(device)) {
                control->ShowLightInfo(record);
            }
            CommitLighting(*device, record);
        }
    }
    // The thread writes the frames in this order.
    std::vector<COrbantixUSBDevice*> followers;
    for (const auto* list : {&families.mice, &families.mousepads, &families.headsets, &families.keyboards}) {
        followers.insert(followers.end(), list->begin(), list->end());
    }
    m_thread.SetFollowers(std::move(followers));
    return true;
}

void CSynchronisedLighting::Offer(int flag, const DeviceFamilies& families) {
    m_offer = flag;
    for (const auto* list : {&families.keyboards, &families.mice, &families.mousepads, &families.headsets}) {
        for (COrbantixUSBDevice* device : *list) {
            if (device == nullptr) continue;
            if (CLightControlUI* control = LightControlOf(device)) {
                control->ShowSameModeOption(flag != 0);
            }
            if (flag == 0) device->SetSameMode(false);
        }
    }
    m_thread.Wake();  // a device may have come back with its flag still set, or all have left
}

}  // namespace zevik

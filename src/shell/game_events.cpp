#include "shell/game_events.h"

#include "devices/orbantix_usb_device.h"
#include "editors/light_control_ui.h"
#include "shell/lighting_handlers.h"

namespace zevik {

namespace {

constexpr std::uint8_t kReturnModeFallback = 1;
constexpr std::uint8_t kHighestReturnMode = 20;

}  // namespace

void CGameEvents::OnEvent(COrbantixUSBDevice* current, WPARAM wParam, LPARAM lParam) {
    if (current == nullptr || wParam > 2) return;
    current->SetSameMode(false);
    const auto mode = static_cast<std::uint8_t>(lParam & 0xFF);
    if (CLightControlUI* control = LightControlOf(current)) {
        control->SelectMode(static_cast<int>(lParam));  // a mode past the list selects nothing
    }
    LightInfoRecord record = current->GetLighting();
    if (wParam == 0) {
        const std::uint8_t old = record.selectItem;
        record.oldLedmode = (old == 0 || old > kHighestReturnMode) ? kReturnModeFallback : old;
    }
    record.selectItem = mode;
    m_changed = current;
    CommitLighting(*current, record);
}

void CGameEvents::OnReturnTimer() {
    COrbantixUSBDevice* device = m_changed;
    m_changed = nullptr;
    if (device == nullptr || !device->CommandChannel().IsOpen()) return;
    device->SetSameMode(false);
    LightInfoRecord record = device->GetLighting();
    if (CLightControlUI* control = LightControlOf(device)) {
        control->SelectMode(record.oldLedmode);
    }
    record.selectItem = record.oldLedmode;
    CommitLighting(*device, record);
}

}  // namespace zevik

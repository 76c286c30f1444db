#include "shell/game_events.h"

#include "devices/orbantix_usb_device.h"
#include "shell/light_record_commit.h"

namespace zevik {

namespace {

constexpr std::uint8_t kReturnModeFallback = 1;
constexpr std::uint8_t kHighestReturnMode = 20;

}  // namespace

void CGameEvents::OnEvent(COrbantixUSBDevice* current, WPARAM wParam, LPARAM lParam) {
    if (current == nullptr || wParam > 2) return;
    current->SetSameMode(false);
    LightInfoRecord record = current->GetLighting();
    if (wParam == 0) {
        const std::uint8_t old = record.selectItem;
        record.oldLedmode = (old == 0 || old > kHighestReturnMode) ? kReturnModeFallback : old;
    }
    record.selectItem = static_cast<std::uint8_t>(lParam & 0xFF);
    m_changed = current;
    CommitLightRecord(*current, record);
}

void CGameEvents::OnReturnTimer() {
    COrbantixUSBDevice* device = m_changed;
    m_changed = nullptr;
    if (device == nullptr || !device->CommandChannel().IsOpen()) return;
    device->SetSameMode(false);
    LightInfoRecord record = device->GetLighting();
    record.selectItem = record.oldLedmode;
    CommitLightRecord(*device, record);
}

}  // namespace zevik

#pragma once
// CGameEvents: the four game messages ("Game_Start", "Game_End", "Game_Kill", "Game_Death") switch
// the current device to another effect for a while; when the window's timer 1066 fires five
// seconds after the last one, the device goes back to the effect it had.
//
// wParam 0, 1 or 2 changes the current device: its lighting takes mode lParam (its low byte, stored
// as it is; lookups bound it), and wParam 0 first keeps the mode to return to in "OldLedmode" (1 when
// the old mode is 0 or above 20). Any other wParam changes no device. The return goes to the device
// the game events changed, not to whichever device is current when the timer fires, and does
// nothing when none was changed. UI thread only.

#include <cstdint>

#include "ui/ui_types.h"

namespace zevik {

class COrbantixUSBDevice;

class CGameEvents {
public:
    static constexpr UINT_PTR kReturnTimer = 1066;
    static constexpr UINT kReturnAfterMs = 5000;

    // Every event (re)starts the return timer; the caller does that.
    void OnEvent(COrbantixUSBDevice* current, WPARAM wParam, LPARAM lParam);
    // Timer 1066 fired (once).
    void OnReturnTimer();
    // The device a game event changed and that has not gone back yet; null when none.
    COrbantixUSBDevice* ChangedDevice() const { return m_changed; }

private:
    COrbantixUSBDevice* m_changed = nullptr;
};

}  // namespace zevik

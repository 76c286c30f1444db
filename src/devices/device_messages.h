#pragma once
// Private window messages that device objects and their options send to the main window.

#include "ui/ui_types.h"

namespace zevik {

// wParam: the active profile slot (headset and mousepad after Resync).
inline constexpr UINT UM_DEVICE_SLOT_CHANGED = 0x0D00;  // 3328
// wParam: byte 4 of the status record read by PollStatus.
inline constexpr UINT UM_DEVICE_STATUS = 0x0D01;  // 3329
// wParam: the option's index in "device_select_layout"; lParam: 1 show, 0 hide.
inline constexpr UINT UM_DEVICE_POWER = 3331;
// wParam: product id; lParam: firmware version.
inline constexpr UINT UM_FIRMWARE_OUTDATED = 3332;
// A device's page was refreshed from its state (connect, resync, a key event, another profile): the
// main window looks again at what follows the device, such as our music capture. Posted, so that it
// comes after the change is complete; the window may be hidden, with no other message to come.
inline constexpr UINT UM_DEVICE_REFRESHED = 0x0D02;  // 3330

}  // namespace zevik

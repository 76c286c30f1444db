#pragma once
// The main window's routes into the mouse's recoil page (CShootControlUI): gun and bullet choice, the
// bullet's edits and direction boxes, reset, and sending the four patterns to the mouse. They act
// only while the current device is the mouse.

#include "shell/notify_router.h"

namespace zevik {

class CShootControlUI;
class COrbantixUSBDevice;
class IMainWindowOps;

CShootControlUI* ShootControlOf(COrbantixUSBDevice* device);
// Sends the four patterns; a mouse that did not take them is reported ("message_text_7"). The
// result of the mouse's recoil write (1 done).
int SendRecoilPatterns(IMainWindowOps& ops);

void AddRecoilRoutes(CNotifyRouter& router, IMainWindowOps& ops);

}  // namespace zevik

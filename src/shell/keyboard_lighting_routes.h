#pragma once
// The routes of the keyboard's own lighting page controls (keyboard_lighting_handlers.h). They are
// added before the key page's routes: a click on a key goes to the key page unless it coloured the key.

#include "shell/notify_router.h"

namespace zevik {

class IMainWindowOps;

void AddKeyboardLightingRoutes(CNotifyRouter& router, IMainWindowOps& ops);

}  // namespace zevik

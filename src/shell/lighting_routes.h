#pragma once
// The routes of the lighting page's controls to the lighting handlers (lighting_handlers.h).

#include "shell/notify_router.h"

namespace zevik {

class IMainWindowOps;

void AddLightingRoutes(CNotifyRouter& router, IMainWindowOps& ops);

}  // namespace zevik

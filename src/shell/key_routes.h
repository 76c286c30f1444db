#pragma once
// The main window's routes into the key page (see key_handlers.h).

#include "shell/notify_router.h"

namespace zevik {

class IMainWindowOps;

void AddKeyRoutes(CNotifyRouter& router, IMainWindowOps& ops);

}  // namespace zevik

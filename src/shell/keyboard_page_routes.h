#pragma once
// The routes of the keyboard's system page: report rate, Windows-key lock, the W and six-key flags,
// key repeat and its delay, and the button that empties the repeat test box. They are added before
// the mouse page's routes: the report-rate options carry the same names on both pages, and a change
// on the mouse's page goes on to the mouse.

#include "shell/notify_router.h"

namespace zevik {

class IMainWindowOps;

void AddKeyboardPageRoutes(CNotifyRouter& router, IMainWindowOps& ops);

}  // namespace zevik

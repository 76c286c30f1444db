#pragma once
// The main window's routes into the macro page: its buttons, the name list's selection, the delay
// edits, the movement buttons and the items of the action-list popup menu.

#include "shell/notify_router.h"

namespace zevik {

class IMainWindowOps;

void AddMacroRoutes(CNotifyRouter& router, IMainWindowOps& ops);

// A popup menu item of the action list ("left_down" ... "back_click"); false when the name is not one.
bool OnMacroMenuItem(IMainWindowOps& ops, std::string_view item);

}  // namespace zevik

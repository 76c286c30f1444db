#pragma once
// The routes of the keyboard page's own option controls (the report rate's options share the mouse
// page's names and come through its routes).

namespace zevik {

class CNotifyRouter;
class IMainWindowOps;

void AddKeyboardPageRoutes(CNotifyRouter& router, IMainWindowOps& ops);

}  // namespace zevik

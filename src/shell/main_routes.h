#pragma once
// The routes of the main window: its caption and tray commands, the page tabs, the profile bar of
// the current device and the mouse page. Every route starts from IMainWindowOps; device routes do
// nothing when there is no current device or it is of another kind.

#include "shell/notify_router.h"

namespace zevik {

class CDeviceProfileUI;
class COrbantixUSBDevice;
class IMainWindowOps;

// The profile bar inside a device's page; null without a device or bar.
CDeviceProfileUI* ProfileBarOf(COrbantixUSBDevice* device);

// The type under which menu commands are routed (the item name is the sender's name).
inline constexpr const char* kMenuCommandType = "menucommand";

// One page tab: the function page it shows and whether the five cached tabs follow it.
struct PageTabRoute {
    const char* name;
    int page;
    bool updateCachedTabs;
};
extern const PageTabRoute kPageTabRoutes[10];

void AddWindowRoutes(CNotifyRouter& router, IMainWindowOps& ops);
void AddPageTabRoutes(CNotifyRouter& router, IMainWindowOps& ops);
void AddProfileBarRoutes(CNotifyRouter& router, IMainWindowOps& ops);
void AddMousePageRoutes(CNotifyRouter& router, IMainWindowOps& ops);
void AddMenuCommandRoutes(CNotifyRouter& router, IMainWindowOps& ops);

// All of the above, in the order the main window matches them.
void AddMainRoutes(CNotifyRouter& router, IMainWindowOps& ops);

}  // namespace zevik

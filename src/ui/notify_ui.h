#pragma once
// Notifications: what a control tells its window ("click", "selectchanged", ...). They are delivered
// synchronously on the UI thread to every INotifyUI registered with the control's paint manager.

#include <string>

#include "ui/ui_types.h"

namespace zevik {

class CControlUI;

// Notification types raised by the library itself. Program code may raise others with SendNotify.
inline constexpr const char* DUI_MSGTYPE_CLICK = "click";
inline constexpr const char* DUI_MSGTYPE_DBCLICK = "dbclick";
inline constexpr const char* DUI_MSGTYPE_SELECTCHANGED = "selectchanged";
inline constexpr const char* DUI_MSGTYPE_ITEMSELECT = "itemselect";
inline constexpr const char* DUI_MSGTYPE_ITEMCLICK = "itemclick";
inline constexpr const char* DUI_MSGTYPE_ITEMACTIVATE = "itemactivate";
inline constexpr const char* DUI_MSGTYPE_VALUECHANGED = "valuechanged";
inline constexpr const char* DUI_MSGTYPE_MOVEVALUECHANGED = "movevaluechanged";
inline constexpr const char* DUI_MSGTYPE_TEXTCHANGED = "textchanged";
inline constexpr const char* DUI_MSGTYPE_SETFOCUS = "setfocus";
inline constexpr const char* DUI_MSGTYPE_KILLFOCUS = "killfocus";
inline constexpr const char* DUI_MSGTYPE_RETURN = "return";
// A key pressed in an edit whose Linux input code the renderer knows (lParam: the code).
inline constexpr const char* DUI_MSGTYPE_KEYDOWN = "keydown";
inline constexpr const char* DUI_MSGTYPE_TIMER = "timer";
inline constexpr const char* DUI_MSGTYPE_WINDOWINIT = "windowinit";
inline constexpr const char* DUI_MSGTYPE_WINDOWSIZE = "windowsize";
inline constexpr const char* DUI_MSGTYPE_MENU = "menu";
inline constexpr const char* DUI_MSGTYPE_TABSELECT = "tabselect";
inline constexpr const char* DUI_MSGTYPE_COLORCHANGED = "colorchanged";
inline constexpr const char* DUI_MSGTYPE_MOUSEENTER = "msenter";
inline constexpr const char* DUI_MSGTYPE_MOUSELEAVE = "msleave";

struct TNotifyUI {
    std::string sType;
    std::string sVirtualWnd;         // the sender's virtual window ("" for the window itself)
    CControlUI* pSender = nullptr;   // valid for the duration of the delivery
    std::uint64_t dwTimestamp = 0;   // loop time in milliseconds
    UiPoint ptMouse;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

}  // namespace zevik

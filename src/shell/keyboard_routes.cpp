#include "shell/keyboard_routes.h"

#include "devices/keyboard_device.h"
#include "shell/main_window_ops.h"
#include "shell/notify_router.h"

namespace zevik {

void AddKeyboardPageRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    const auto toKeyboard = [&ops](TNotifyUI& msg, int) {
        if (auto* keyboard = dynamic_cast<COrbantixKeyboardDevice*>(ops.GetCurrentDevice()))
            keyboard->HandlePageNotification(msg);
    };
    struct Entry {
        const char* type;
        RouteMatch match;
        const char* name;
    };
    static constexpr Entry kEntries[] = {
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "winlockflag_option"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "wflag_option"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "6flag_option"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "repeat_delay_check_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "key_layer_option_"},
        {DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, "repeat_rate_slider"},
        {DUI_MSGTYPE_CLICK, RouteMatch::Name, "reset_repeat_btn"},
    };
    for (const Entry& entry : kEntries) router.Add(entry.type, entry.match, entry.name, toKeyboard);
}

}  // namespace zevik

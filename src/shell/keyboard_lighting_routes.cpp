#include "shell/keyboard_lighting_routes.h"

#include "shell/key_handlers.h"
#include "shell/keyboard_lighting_handlers.h"
#include "ui/combo_ui.h"

namespace zevik {

namespace {

int SelectedItem(const TNotifyUI& msg) {
    const auto* combo = dynamic_cast<const CComboUI*>(msg.pSender);
    return combo != nullptr ? combo->GetCurSel() : -1;
}

}  // namespace

void AddKeyboardLightingRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    router.Add(DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "light_combo_ZZCCmodeSelect", [&ops](TNotifyUI& msg, int) {
        if (const int item = SelectedItem(msg); item >= 0) OnZzccModeSelected(ops, item);
    });
    router.Add(DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "light_combo_custommodeSelect",
               [&ops](TNotifyUI& msg, int) {
                   if (const int item = SelectedItem(msg); item >= 0) OnCustomSlotSelected(ops, item);
               });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "custom_bright_color_btn",
               [&ops](TNotifyUI&, int) { OnCustomAllKeys(ops, true); });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "custom_off_color_btn",
               [&ops](TNotifyUI&, int) { OnCustomAllKeys(ops, false); });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Prefix, "key_", [&ops](TNotifyUI&, int n) {
        if (!OnCustomKeyClicked(ops, n)) OnKeyButton(ops, n);
    });
}

}  // namespace zevik

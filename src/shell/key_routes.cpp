#include "shell/key_routes.h"

#include "shell/key_handlers.h"
#include "shell/main_window_ops.h"
#include "ui/option_ui.h"

namespace zevik {

namespace {

// The page's choices; selecting in any of them keeps the pending function for the key.
constexpr const char* kKeyChoices[] = {
    "keyset_function_combo", "keyset_mousekey_combo", "keyset_mouseswing_combo", "keyset_mousewheel_combo",
    "keyset_mousedpi_combo", "keyset_media_combo",    "keyset_system_combo",     "keyset_macro_combo",
    "keyset_macro_over_combo", "keyset_gunkey_combo", "keyset_combokey_combo",
};

// Edits whose typed value is kept for the key when they lose the focus.
constexpr const char* kKeyEdits[] = {
    "keyset_mouseswing_delay_edit", "keyset_mouseswing_speed_edit", "keyset_mouseswing_num_edit",
    "keyset_mousewheel_delay_edit", "keyset_mousewheel_speed_edit", "keyset_mousewheel_num_edit",
    "keyset_mousefire_interval_edit", "keyset_mousefire_num_edit", "keyset_macro_cycle_edit",
};

}  // namespace

void AddKeyRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "key_butt_keysave", [&ops](TNotifyUI&, int) { OnKeySave(ops); });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "key_butt_keydefalut",
               [&ops](TNotifyUI&, int) { OnKeyDefault(ops); });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "key_butt_keycancel",
               [&ops](TNotifyUI&, int) { OnKeyCancel(ops); });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "key_butt_prosave", [&ops](TNotifyUI&, int) { OnKeyWrite(ops); });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Prefix, "key_", [&ops](TNotifyUI&, int n) { OnKeyButton(ops, n); });
    for (const char* name : kKeyChoices) {
        router.Add(DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, name,
                   [&ops, name](TNotifyUI&, int) { OnKeyChoice(ops, name); });
    }
    for (const char* name : kKeyEdits) {
        router.Add(DUI_MSGTYPE_KILLFOCUS, RouteMatch::Name, name, [&ops](TNotifyUI&, int) { OnKeySave(ops); });
    }
    // The key edit captures the next key pressed anywhere while it has the focus; leaving it ends the
    // capture and keeps what was captured.
    router.Add(DUI_MSGTYPE_SETFOCUS, RouteMatch::Name, "keyset_keyboard_text_edit",
               [&ops](TNotifyUI&, int) { ops.SetKeyCapture(true); });
    // Without an input device to read, the capture takes the keys pressed in the edit itself.
    router.Add(DUI_MSGTYPE_KEYDOWN, RouteMatch::Name, "keyset_keyboard_text_edit", [&ops](TNotifyUI& msg, int) {
        if (msg.lParam > 0 && msg.lParam <= 0xFFFF) ops.OfferWindowKey(static_cast<std::uint16_t>(msg.lParam));
    });
    router.Add(DUI_MSGTYPE_KILLFOCUS, RouteMatch::Name, "keyset_keyboard_text_edit", [&ops](TNotifyUI&, int) {
        ops.SetKeyCapture(false);
        OnKeySave(ops);
    });
    // A modifier counts once it became selected (the options are a group).
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "key_ComBox_check_", [&ops](TNotifyUI& msg, int) {
        const auto* option = dynamic_cast<const COptionUI*>(msg.pSender);
        if (option != nullptr && option->IsSelected()) OnKeySave(ops);
    });
}

}  // namespace zevik

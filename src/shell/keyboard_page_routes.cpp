#include "shell/keyboard_page_routes.h"

#include "devices/keyboard_device.h"
#include "devices/mouse_device.h"
#include "platform/trace.h"
#include "shell/main_window_ops.h"
#include "transport/command_set.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

COrbantixKeyboardDevice* CurrentKeyboard(IMainWindowOps& ops) {
    return dynamic_cast<COrbantixKeyboardDevice*>(ops.GetCurrentDevice());
}

bool IsSelected(const TNotifyUI& msg) {
    const auto* option = dynamic_cast<const COptionUI*>(msg.pSender);
    return option != nullptr && option->IsSelected();
}

// The change is kept in the profile whatever the keyboard answered; a failed write is traced.
void TraceWrite(int result) {
    if (result != kResultDone) Trace("keyboard: the settings block was not written: " + CommandResultText(result));
}

}  // namespace

void AddKeyboardPageRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    // Options of a group report their new state; only the newly selected one counts.
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "polling_rate_option_", [&ops](TNotifyUI& msg, int n) {
        if (COrbantixKeyboardDevice* keyboard = CurrentKeyboard(ops)) {
            if (IsSelected(msg)) TraceWrite(keyboard->SetReportRate(n));
        } else if (auto* mouse = dynamic_cast<COrbantixMouseDevice*>(ops.GetCurrentDevice())) {
            mouse->HandlePageNotification(msg);
        }
    });
    using FlagSetter = int (COrbantixKeyboardDevice::*)(bool);
    static constexpr std::pair<const char*, FlagSetter> kFlags[] = {
        {"winlockflag_option", &COrbantixKeyboardDevice::SetWinLock},
        {"wflag_option", &COrbantixKeyboardDevice::SetWFlag},
        {"6flag_option", &COrbantixKeyboardDevice::SetSixKey}};
    for (const auto& [name, setter] : kFlags) {
        router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, name, [&ops, setter](TNotifyUI& msg, int) {
            if (COrbantixKeyboardDevice* keyboard = CurrentKeyboard(ops)) TraceWrite((keyboard->*setter)(IsSelected(msg)));
        });
    }
    router.Add(DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, "repeat_rate_slider", [&ops](TNotifyUI& msg, int) {
        const auto* slider = dynamic_cast<const CSliderUI*>(msg.pSender);
        COrbantixKeyboardDevice* keyboard = CurrentKeyboard(ops);
        if (keyboard != nullptr && slider != nullptr) keyboard->SetRepeat(slider->GetValue());
    });
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "repeat_delay_check_", [&ops](TNotifyUI& msg, int n) {
        COrbantixKeyboardDevice* keyboard = CurrentKeyboard(ops);
        if (keyboard != nullptr && IsSelected(msg)) keyboard->SetRepeatDelay(n);
    });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "reset_repeat_btn", [&ops](TNotifyUI&, int) {
        if (COrbantixKeyboardDevice* keyboard = CurrentKeyboard(ops)) keyboard->ClearRepeatTest();
    });
}

}  // namespace zevik

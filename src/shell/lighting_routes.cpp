#include "shell/lighting_routes.h"

#include "shell/lighting_handlers.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

const COptionUI* OptionOf(const TNotifyUI& msg) {
    return dynamic_cast<const COptionUI*>(msg.pSender);
}

int SliderValue(const TNotifyUI& msg) {
    const auto* slider = dynamic_cast<const CSliderUI*>(msg.pSender);
    return slider != nullptr ? slider->GetValue() : -1;
}

}  // namespace

void AddLightingRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    router.Add(DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "light_combo_modeSelect",
               [&ops](TNotifyUI& msg, int) {
                   const auto* combo = dynamic_cast<const CComboUI*>(msg.pSender);
                   if (combo != nullptr && combo->GetCurSel() >= 0)
                       OnLightModeSelected(ops, combo->GetCurSel());
               });
    router.Add(DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, "deng_light_slider", [&ops](TNotifyUI& msg, int) {
        if (const int value = SliderValue(msg); value >= 0) OnLightBrightness(ops, value);
    });
    router.Add(DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, "deng_speed_slider", [&ops](TNotifyUI& msg, int) {
        if (const int value = SliderValue(msg); value >= 0) OnLightSpeed(ops, value);
    });
    // The two direction options are a group: only the one that became selected counts.
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "deng_FXL_check", [&ops](TNotifyUI& msg, int) {
        if (const COptionUI* option = OptionOf(msg); option != nullptr && option->IsSelected())
            OnLightDirection(ops, 1);
    });
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "deng_FXR_check", [&ops](TNotifyUI& msg, int) {
        if (const COptionUI* option = OptionOf(msg); option != nullptr && option->IsSelected())
            OnLightDirection(ops, 0);
    });
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "deng_7color_check", [&ops](TNotifyUI& msg, int) {
        if (const COptionUI* option = OptionOf(msg)) OnLightMultiColour(ops, option->IsSelected());
    });
    router.Add(DUI_MSGTYPE_COLORCHANGED, RouteMatch::Name, "deng_Color_Pallet",
               [&ops](TNotifyUI&, int) { OnLightPaletteColour(ops); });
    static constexpr const char* kEdits[] = {"deng_edit_R", "deng_edit_G", "deng_edit_B"};
    for (int channel = 0; channel < 3; ++channel) {
        router.Add(DUI_MSGTYPE_KILLFOCUS, RouteMatch::Name, kEdits[channel],
                   [&ops, channel](TNotifyUI&, int) { OnLightColourEdit(ops, channel); });
    }
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Prefix, "color_option_",
               [&ops](TNotifyUI&, int n) { OnLightColourOption(ops, n); });
}

}  // namespace zevik

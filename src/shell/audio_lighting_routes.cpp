#include "shell/audio_lighting_routes.h"

#include "shell/audio_lighting_handlers.h"

namespace zevik {

void AddAudioLightingRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    router.Add(DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "light_combo_audiomodeSelect",
               [&ops](TNotifyUI&, int) { OnAudioStyleOrMultiColour(ops); });
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "deng_7audiocolor_check",
               [&ops](TNotifyUI&, int) { OnAudioStyleOrMultiColour(ops); });
    for (const char* name : {"audio_BkColor_check", "audio_FgColor_check"}) {
        router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, name,
                   [&ops](TNotifyUI&, int) { OnAudioColourType(ops); });
    }
    router.Add(DUI_MSGTYPE_COLORCHANGED, RouteMatch::Name, "deng_audioColor_Pallet",
               [&ops](TNotifyUI&, int) { OnAudioPaletteColour(ops); });
    static constexpr const char* kEdits[] = {"deng_audioedit_R", "deng_audioedit_G", "deng_audioedit_B"};
    for (int channel = 0; channel < 3; ++channel) {
        router.Add(DUI_MSGTYPE_KILLFOCUS, RouteMatch::Name, kEdits[channel],
                   [&ops, channel](TNotifyUI&, int) { OnAudioColourEdit(ops, channel); });
    }
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Prefix, "audiocolor_option_",
               [&ops](TNotifyUI&, int n) { OnAudioColourOption(ops, n); });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "Close_bkColor_btn",
               [&ops](TNotifyUI&, int) { OnAudioClearBackground(ops); });
}

}  // namespace zevik

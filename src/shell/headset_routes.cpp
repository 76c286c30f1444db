#include "shell/headset_routes.h"

#include <functional>

#include "devices/headset_audio_pages.h"
#include "devices/hs6533_device.h"
#include "shell/main_window_ops.h"
#include "shell/notify_router.h"
#include "ui/combo_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

using Action = std::function<void(COrbantixHS6533Device&, TNotifyUI&, int)>;

int SliderValue(const TNotifyUI& msg) {
    const auto* slider = dynamic_cast<const CSliderUI*>(msg.pSender);
    return slider != nullptr ? slider->GetValue() : 0;
}

bool IsSelected(const TNotifyUI& msg) {
    const auto* option = dynamic_cast<const COptionUI*>(msg.pSender);
    return option != nullptr && option->IsSelected();
}

// A failed microphone or monitoring write changes nothing: the page shows the record again.
void ShowAgainUnless(COrbantixHS6533Device& headset, bool taken) {
    if (!taken) headset.Audio().ShowOnPages();
}

}  // namespace

void AddHeadsetPageRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    const auto add = [&router, &ops](const char* type, RouteMatch match, const char* name, Action action) {
        router.Add(type, match, name, [&ops, action = std::move(action)](TNotifyUI& msg, int index) {
            if (auto* headset = dynamic_cast<COrbantixHS6533Device*>(ops.GetCurrentDevice()))
                action(*headset, msg, index);
        });
    };
    add(DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, "6533_MicIn_slider", [](auto& headset, TNotifyUI& msg, int) {
        ShowAgainUnless(headset, headset.Audio().SetMicrophoneLevel(SliderValue(msg)));
    });
    add(DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, "6533_MicMoniter_slider",
        [](auto& headset, TNotifyUI& msg, int) {
            ShowAgainUnless(headset, headset.Audio().SetMonitorLevel(SliderValue(msg)));
        });
    add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "6533_MicIn_option", [](auto& headset, TNotifyUI&, int) {
        ShowAgainUnless(headset, headset.Audio().ToggleMicrophone());
    });
    add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "6533_MicMoniter_option", [](auto& headset, TNotifyUI&, int) {
        ShowAgainUnless(headset, headset.Audio().ToggleMonitor());
    });
    add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "6533_eq_option_",
        [](auto& headset, TNotifyUI& msg, int preset) {
            if (IsSelected(msg)) headset.Audio().ChoosePreset(preset);
        });
    add(DUI_MSGTYPE_VALUECHANGED, RouteMatch::Prefix, "6533_eq_hz_slider_",
        [](auto& headset, TNotifyUI& msg, int band) { headset.Audio().MoveBand(band, SliderValue(msg)); });
    add(DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "custom_eq_name_combo", [](auto& headset, TNotifyUI& msg, int) {
        const auto* box = dynamic_cast<const CComboUI*>(msg.pSender);
        if (box != nullptr) headset.Audio().SelectCustomEqualiser(box->GetCurSel());
    });
    add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "hs_EQ_btn_save", [&ops](auto& headset, TNotifyUI&, int) {
        ISoundPage* page = headset.SoundPage();
        const std::string name = page != nullptr ? page->CustomNameText() : std::string();
        if (headset.Audio().SaveCustomEqualiser(name) == CHeadsetAudioBinding::kNameTaken)
            ops.AskUser("message_text_5", 1);
    });
    add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "hs_EQ_btn_delete",
        [](auto& headset, TNotifyUI&, int) { headset.Audio().DeleteCustomEqualiser(); });
    add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "magic_enable_option", [](auto& headset, TNotifyUI& msg, int) {
        headset.Audio().SetVoiceChanger(IsSelected(msg));
    });
    add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "magic_option_", [](auto& headset, TNotifyUI& msg, int type) {
        if (IsSelected(msg)) headset.Audio().SetVoiceType(type);
    });
}

}  // namespace zevik

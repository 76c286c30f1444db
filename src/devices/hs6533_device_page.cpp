// COrbantixHS6533Device: binding and refreshing the page's items.

#include <algorithm>

#include "devices/headset_audio_pages.h"
#include "devices/hs6533_device.h"
#include "devices/light_control.h"
#include "settings/profile_locations.h"
#include "ui/attribute_parser.h"

namespace zevik {

namespace {

template <class T>
T* ItemInterface(CControlUI* control) {
    return control != nullptr ? static_cast<T*>(control->GetInterface(T::kInterfaceName)) : nullptr;
}

}  // namespace

CControlUI* COrbantixHS6533Device::Find(std::string_view name) const {
    auto* self = const_cast<COrbantixHS6533Device*>(this);
    return self->FindControl([name](CControlUI& c) { return EqualsNoCase(c.GetName(), name); },
                             UIFIND_ALL | UIFIND_ME_FIRST);
}

void COrbantixHS6533Device::BindPage() {
    COrbantixUSBDevice::BindPage();
    // The page may show more LED buttons than the headset has (they stay on the page); never fewer.
    engine_.Resize(std::max(headset_led::kLedCount, static_cast<int>(LightButtons().size())));
    audio_.Start();
}

void COrbantixHS6533Device::BindPageEx() {
    lightControl_ = ItemInterface<ILightControl>(Find("LightControlItem"));
    if (lightControl_ != nullptr) lightControl_->SetPageKind(PageKind(ProfileKind::Headset));
    voiceChangerPage_ = ItemInterface<IVoiceChangerPage>(Find("MagicControlItem"));
    soundPage_ = ItemInterface<ISoundPage>(Find("Voice6533ControlItem"));
    audio_.SetPages(soundPage_, voiceChangerPage_);
    SelectFunctionPage(kLightingPage);  // the page opens on its lighting tab
}

int COrbantixHS6533Device::RefreshPage() {
    EnsureProfileLoaded();
    LoadLightLists();
    if (lightControl_ != nullptr) {
        const CProfileLocations locations = ProfileLocationsOf(Context());
        lightControl_->LoadColourOptions(locations.ColourChoicesFile(), locations.DefaultColourChoicesFile());
        lightControl_->ShowLightInfo(profile_.GetLightInfo());
    }
    audio_.ShowOnPages();
    ShowAvailability();
    return 1;
}

// What the sound card cannot do is said on the pages; its settings stay on them and in the profile.
void COrbantixHS6533Device::ShowAvailability() {
    const HeadsetAudioEffects& effects = audio_.Effects();
    const struct {
        const char* label;
        bool available;
    } notes[] = {
        {"eq_unavailable", effects.equaliser},
        {"voice_unavailable", effects.voiceChanger},
        {"surround_unavailable", effects.surround},
        {"mic_unavailable", audio_.HasMicrophone()},
    };
    for (const auto& note : notes) {
        if (CControlUI* label = Find(note.label)) label->SetVisible(!note.available);
    }
}

}  // namespace zevik

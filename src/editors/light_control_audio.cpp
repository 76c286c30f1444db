// CLightControlUI: the audio part of the lighting page. It shows the audio lighting record (style,
// the colour being edited, the multicolour check) and reads the user's choices back; the main
// window's audio handlers change the record between the two.

#include <string>

#include "editors/light_control_ui.h"
#include "platform/trace.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"

namespace zevik {

namespace {

constexpr std::array<const char*, 3> kAudioEditNames = {"deng_audioedit_R", "deng_audioedit_G",
                                                        "deng_audioedit_B"};
constexpr int kRingStyle = 3;  // draws the wheel's colours only: the colour parts are off

constexpr const char* kShowFailed = " SetAudioLightInfo control is NULL";
constexpr const char* kControlMissing = "GetAudioLightInfo control is NULL";

UiColor OpaqueOf(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return CLightControlUI::kOpaque | static_cast<UiColor>(r) << 16 | static_cast<UiColor>(g) << 8 | b;
}

void EnableWithin(CControlUI* layout, bool enabled) {
    layout->FindControl(
        [enabled](CControlUI& c) {
            c.SetEnabled(enabled);
            return false;
        },
        UIFIND_ALL | UIFIND_ME_FIRST);
}

}  // namespace

bool CLightControlUI::AudioControls::Complete() const {
    for (const CEditUI* edit : edits)
        if (edit == nullptr) return false;
    return style != nullptr && multiColour != nullptr && background != nullptr && foreground != nullptr &&
           palette != nullptr && colourLayout != nullptr && paletteLayout != nullptr &&
           colourButton != nullptr;
}

CLightControlUI::AudioControls CLightControlUI::FindAudioControls() {
    AudioControls c;
    c.style = dynamic_cast<CComboUI*>(FindHere("light_combo_audiomodeSelect"));
    c.multiColour = dynamic_cast<COptionUI*>(FindHere("deng_7audiocolor_check"));
    for (size_t i = 0; i < kAudioEditNames.size(); ++i)
        c.edits[i] = dynamic_cast<CEditUI*>(FindHere(kAudioEditNames[i]));
    c.background = dynamic_cast<COptionUI*>(FindHere("audio_BkColor_check"));
    c.foreground = dynamic_cast<COptionUI*>(FindHere("audio_FgColor_check"));
    c.palette = dynamic_cast<CColorPaletteUI*>(FindHere("deng_audioColor_Pallet"));
    c.colourLayout = FindHere("light_audiocolor_layout");
    c.paletteLayout = FindHere("audiocolorpallet_layout");
    c.colourButton = FindHere("deng_audiocolordp_btn");
    return c;
}

void CLightControlUI::ShowAudioLightInfo(const AudioLightInfoRecord& record) {
    audioRecord_ = record;
    const AudioControls c = FindAudioControls();
    if (c.style == nullptr) {
        Trace(kShowFailed);
        return;
    }
    if (!c.style->SelectItem(record.audioMode, false)) c.style->SelectItem(-1, false);
    if (!c.Complete()) {
        Trace(kControlMissing);
        return;
    }
    const bool foreground = record.colorTypeFlags != 0;
    c.background->Selected(!foreground, false);
    c.foreground->Selected(foreground, false);
    c.multiColour->SetEnabled(foreground);
    if (foreground) c.multiColour->Selected(record.sevenColorFlags != 0, false);
    const UiColor shown = foreground ? OpaqueOf(record.fgColorR, record.fgColorG, record.fgColorB)
                                     : OpaqueOf(record.bkColorR, record.bkColorG, record.bkColorB);
    c.edits[0]->SetText(std::to_string(shown >> 16 & 0xFF));
    c.edits[1]->SetText(std::to_string(shown >> 8 & 0xFF));
    c.edits[2]->SetText(std::to_string(shown & 0xFF));
    c.palette->SetSelectColor(shown);
    c.colourButton->SetBkColor(shown);
    const bool colourParts = record.audioMode != kRingStyle;
    EnableWithin(c.colourLayout, colourParts);
    EnableWithin(c.paletteLayout, colourParts);
}

std::optional<AudioLightInfoRecord> CLightControlUI::ReadAudioLightInfo(bool takeColourButton) {
    const AudioControls c = FindAudioControls();
    if (!c.Complete()) {
        Trace(kControlMissing);
        return std::nullopt;
    }
    AudioLightInfoRecord& r = audioRecord_;
    // Nothing selected keeps the style: the list only ever offers the styles the keyboard draws.
    if (const int style = c.style->GetCurSel(); style >= 0) r.audioMode = static_cast<std::uint8_t>(style);
    r.sevenColorFlags = c.multiColour->IsSelected() ? 1 : 0;
    const bool background = c.background->IsSelected();
    const bool foreground = c.foreground->IsSelected();
    // The check the user just selected wins over the one that was selected before.
    r.colorTypeFlags = background && (r.colorTypeFlags != 0 || !foreground) ? 0 : 1;
    if (takeColourButton) {
        const UiColor colour = c.colourButton->GetBkColor();
        const auto red = static_cast<std::uint8_t>(colour >> 16 & 0xFF);
        const auto green = static_cast<std::uint8_t>(colour >> 8 & 0xFF);
        const auto blue = static_cast<std::uint8_t>(colour & 0xFF);
        if (r.colorTypeFlags != 0) {
            r.fgColorR = red, r.fgColorG = green, r.fgColorB = blue;
        } else {
            r.bkColorR = red, r.bkColorG = green, r.bkColorB = blue;
        }
    }
    return r;
}

UiColor CLightControlUI::GetAudioOptionColour(int n) {
    const std::string name = "audiocolor_option_" + std::to_string(n);
    Trace(name + " GetLightAudioColor");
    const CControlUI* option = FindHere(name);
    return option != nullptr ? option->GetBkColor() : 0;
}

CComboUI* CLightControlUI::AudioStyleCombo() {
    return dynamic_cast<CComboUI*>(FindHere("light_combo_audiomodeSelect"));
}

COptionUI* CLightControlUI::AudioMultiColourCheck() {
    return dynamic_cast<COptionUI*>(FindHere("deng_7audiocolor_check"));
}

COptionUI* CLightControlUI::AudioColourTypeCheck(bool foreground) {
    return dynamic_cast<COptionUI*>(FindHere(foreground ? "audio_FgColor_check" : "audio_BkColor_check"));
}

CColorPaletteUI* CLightControlUI::AudioPalette() {
    return dynamic_cast<CColorPaletteUI*>(FindHere("deng_audioColor_Pallet"));
}

CEditUI* CLightControlUI::AudioColourEdit(Channel channel) {
    return dynamic_cast<CEditUI*>(FindHere(kAudioEditNames[static_cast<size_t>(channel)]));
}

CControlUI* CLightControlUI::AudioColourButton() {
    return FindHere("deng_audiocolordp_btn");
}

CControlUI* CLightControlUI::AudioColourOption(int n) {
    return n >= 0 ? FindHere("audiocolor_option_" + std::to_string(n)) : nullptr;
}

CControlUI* CLightControlUI::AudioClearBackgroundButton() {
    return FindHere("Close_bkColor_btn");
}

}  // namespace zevik

#include "shell/audio_lighting_handlers.h"

#include <array>
#include <cstdint>
#include <optional>

#include "devices/orbantix_usb_device.h"
#include "editors/light_control_ui.h"
#include "shell/lighting_handlers.h"
#include "shell/main_window_ops.h"
#include "ui/color_palette_ui.h"
#include "ui/edit_ui.h"

namespace zevik {

namespace {

using Channel = CLightControlUI::Channel;

struct Rgb {
    std::uint8_t r, g, b;
};

Rgb RgbOf(UiColor colour) {
    return {static_cast<std::uint8_t>(colour >> 16 & 0xFF), static_cast<std::uint8_t>(colour >> 8 & 0xFF),
            static_cast<std::uint8_t>(colour & 0xFF)};
}

bool EditsForeground(const AudioLightInfoRecord& r) {
    return r.colorTypeFlags != 0;
}

// The three bytes of the colour being edited.
std::array<std::uint8_t*, 3> EditedColour(AudioLightInfoRecord& r) {
    if (EditsForeground(r)) return {&r.fgColorR, &r.fgColorG, &r.fgColorB};
    return {&r.bkColorR, &r.bkColorG, &r.bkColorB};
}

// Replaces the edited colour; true when it was the foreground colour and it changed.
bool ReplaceEditedColour(AudioLightInfoRecord& r, Rgb colour) {
    const auto bytes = EditedColour(r);
    const bool changed = *bytes[0] != colour.r || *bytes[1] != colour.g || *bytes[2] != colour.b;
    *bytes[0] = colour.r, *bytes[1] = colour.g, *bytes[2] = colour.b;
    return changed && EditsForeground(r);
}

// Takes the current device's record back from its page (with the colour button's colour when
// takeColourButton), changes it and commits it to the same device.
template <class Change>
void ChangeAudioRecord(IMainWindowOps& ops, bool takeColourButton, Change change) {
    COrbantixUSBDevice* device = ops.GetCurrentDevice();
    if (device == nullptr) return;
    std::optional<AudioLightInfoRecord> record = device->GetAudioLighting(takeColourButton ? 1 : 0);
    if (!record) return;
    change(*record, LightControlOf(device));
    device->SetAudioLighting(*record);
    device->SaveDeviceProfile();
    device->ApplyLightSettings();
}

}  // namespace

void OnAudioStyleOrMultiColour(IMainWindowOps& ops) {
    ChangeAudioRecord(ops, true, [](AudioLightInfoRecord&, CLightControlUI*) {});
}

void OnAudioColourType(IMainWindowOps& ops) {
    ChangeAudioRecord(ops, false, [](AudioLightInfoRecord&, CLightControlUI*) {});
}

void OnAudioPaletteColour(IMainWindowOps& ops) {
    ChangeAudioRecord(ops, true, [](AudioLightInfoRecord& r, CLightControlUI* page) {
        const CColorPaletteUI* palette = page != nullptr ? page->AudioPalette() : nullptr;
        if (palette == nullptr) return;
        if (ReplaceEditedColour(r, RgbOf(palette->GetSelectColor()))) r.sevenColorFlags = 0;
    });
}

void OnAudioColourEdit(IMainWindowOps& ops, int channel) {
    if (channel < 0 || channel > 2) return;
    ChangeAudioRecord(ops, false, [channel](AudioLightInfoRecord& r, CLightControlUI* page) {
        const CEditUI* edit =
            page != nullptr ? page->AudioColourEdit(static_cast<Channel>(channel)) : nullptr;
        if (edit == nullptr) return;
        *EditedColour(r)[static_cast<size_t>(channel)] =
            static_cast<std::uint8_t>(CLightControlUI::ComponentOfText(edit->GetText()));
        if (EditsForeground(r)) r.sevenColorFlags = 0;
    });
}

void OnAudioColourOption(IMainWindowOps& ops, int n) {
    ChangeAudioRecord(ops, true, [n](AudioLightInfoRecord& r, CLightControlUI* page) {
        const UiColor colour = page != nullptr ? page->GetAudioOptionColour(n) : 0;
        ReplaceEditedColour(r, RgbOf(colour));
        if (EditsForeground(r)) r.sevenColorFlags = 0;
    });
}

void OnAudioClearBackground(IMainWindowOps& ops) {
    ChangeAudioRecord(ops, true, [](AudioLightInfoRecord& r, CLightControlUI*) {
        r.bkColorR = r.bkColorG = r.bkColorB = 0;
    });
}

}  // namespace zevik

#pragma once
// The audio lighting handlers of the main window: each change of the lighting page's audio part
// becomes a change of the current device's audio lighting record. A handler takes the record back
// from the page (GetAudioLighting), changes it, and ends with SetAudioLighting, SaveDeviceProfile and
// ApplyLightSettings on the same device. Nothing happens without a current device, or when the page
// lacks one of its audio controls.
//
// The edited colour is the foreground colour when the record's "ColorTypeFlags" is set, else the
// background colour. A change of the foreground colour clears "7ColorFlags": a colour picked by hand
// replaces the wheel's colours.

namespace zevik {

class IMainWindowOps;

void OnAudioStyleOrMultiColour(
    IMainWindowOps& ops);                        // "light_combo_audiomodeSelect", "deng_7audiocolor_check"
void OnAudioColourType(IMainWindowOps& ops);     // "audio_BkColor_check", "audio_FgColor_check"
void OnAudioPaletteColour(IMainWindowOps& ops);  // "deng_audioColor_Pallet"
void OnAudioColourEdit(IMainWindowOps& ops, int channel);  // 0 "deng_audioedit_R", 1 "_G", 2 "_B"
void OnAudioColourOption(IMainWindowOps& ops, int n);      // "audiocolor_option_" n
void OnAudioClearBackground(IMainWindowOps& ops);          // "Close_bkColor_btn"

}  // namespace zevik

#pragma once
// The lighting page changes only a keyboard has: the sub-mode of the single-colour effect, the slot
// of the custom colours, the buttons that light every key or turn every key off, and a click on a key
// of the picture, which gives it the lighting colour while the custom colours are shown on the
// lighting page. Each starts from the current device and does nothing when it is not a keyboard. None
// of them takes the keyboard out of synchronised lighting.

namespace zevik {

class IMainWindowOps;

void OnZzccModeSelected(IMainWindowOps& ops, int index);  // "light_combo_ZZCCmodeSelect"
void OnCustomSlotSelected(IMainWindowOps& ops, int slot);  // "light_combo_custommodeSelect"
// "custom_bright_color_btn" (lit) and "custom_off_color_btn".
void OnCustomAllKeys(IMainWindowOps& ops, bool lit);
// "key_" n: true when the click coloured the key (the custom colours on the lighting page); false
// leaves the click to the key page.
bool OnCustomKeyClicked(IMainWindowOps& ops, int key);

}  // namespace zevik

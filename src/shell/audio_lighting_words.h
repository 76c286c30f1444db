#pragma once
// The audio words of the lighting commands, for every device noun that has a lighting page:
//
//   audio-style N          the style selector "light_combo_audiomodeSelect", N 0 to 6
//   audio-edit fg|bg       which colour the page edits: "audio_FgColor_check" | "audio_BkColor_check"
//   audio-7color 0|1       the rainbow check "deng_7audiocolor_check"
//   audio-color RRGGBB     the palette "deng_audioColor_Pallet"
//   audio-rgb R|G|B [TEXT] an edit "deng_audioedit_R|G|B" as typed (no text: emptied), then it loses
//                          the focus
//   audio-option N         colour option "audiocolor_option_" N - 1, N 1 to 8
//   audio-clear-bg         the button "Close_bkColor_btn"
//
// Like the other lighting words they act as the user does: the notification of the page's control
// goes through the window's routing.

#include <optional>
#include <string>
#include <vector>

#include "ui/ui_types.h"

namespace zevik {

class CControlUI;
class CLightControlUI;
class CPaintManagerUI;
struct AudioLightInfoRecord;
struct LightingCommand;

inline constexpr int kAudioStyleMax = 6;

// Whether the first word is one of the audio words.
bool IsAudioLightingWord(const std::string& verb);
// Checks the words of an audio word (words[0] is the verb); nothing, with a message naming the
// allowed values, for a wrong count or value.
std::optional<LightingCommand> ParseAudioLightingWords(const std::vector<std::string>& words,
                                                       std::string& error);
// The control an audio word acts on; null when the page lacks it.
CControlUI* AudioLightingTarget(CLightControlUI& control, const LightingCommand& command);
// Raises the target's notification as the user's input does.
void RaiseAudioLighting(CControlUI& target, const LightingCommand& command, CPaintManagerUI* pm);
// The words, for help texts.
const std::vector<std::string>& AudioLightingWordNames();

}  // namespace zevik

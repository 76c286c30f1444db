#include "shell/audio_lighting_words.h"

#include "editors/light_control_ui.h"
#include "shell/command_numbers.h"
#include "shell/lighting_commands.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

namespace {

using Channel = CLightControlUI::Channel;

}  // namespace

const std::vector<std::string>& AudioLightingWordNames() {
    // Built on first use: other files' word lists are built from it at start-up.
    static const std::vector<std::string> words = {"audio-style",   "audio-edit", "audio-7color",
                                                   "audio-color",   "audio-rgb",  "audio-option",
                                                   "audio-clear-bg"};
    return words;
}

bool IsAudioLightingWord(const std::string& verb) {
    for (const std::string& word : AudioLightingWordNames())
        if (word == verb) return true;
    return false;
}

std::optional<LightingCommand> ParseAudioLightingWords(const std::vector<std::string>& words,
                                                       std::string& error) {
    LightingCommand c;
    c.verb = words.empty() ? std::string() : words[0];
    const std::string& verb = c.verb;
    const std::string what = "\"lighting " + verb + "\"";
    const size_t count = words.empty() ? 0 : words.size() - 1;
    const bool optionalText = verb == "audio-rgb";
    const size_t wanted = verb == "audio-clear-bg" ? 0 : 1;
    if (count < wanted || count > wanted + (optionalText ? 1 : 0)) {
        error = what + " takes " + (optionalText ? std::string("1 or 2") : std::to_string(wanted)) +
                " argument(s)";
        return std::nullopt;
    }
    std::optional<int> value;
    if (verb == "audio-clear-bg") {
        value = 0;
    } else if (verb == "audio-style") {
        value = NumberInRange(what, words[1], 0, kAudioStyleMax, error);
    } else if (verb == "audio-edit") {
        if (words[1] == "fg" || words[1] == "bg")
            value = words[1] == "fg" ? 1 : 0;
        else
            error = what + " takes fg or bg, not \"" + words[1] + "\"";
    } else if (verb == "audio-7color") {
        value = NumberInRange(what, words[1], 0, 1, error);
    } else if (verb == "audio-option") {
        value = NumberInRange(what, words[1], 1, CLightControlUI::kAudioColourOptionCount, error);
    } else if (verb == "audio-color") {
        const bool hex =
            words[1].size() == 6 && words[1].find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        if (hex)
            value = static_cast<int>(*WholeNumber(words[1], 16));
        else
            error = "the colour must be RRGGBB in hexadecimal, not \"" + words[1] + "\"";
    } else if (verb == "audio-rgb") {
        static const std::string kChannels = "RGB";
        const size_t channel = words[1].size() == 1 ? kChannels.find(words[1][0]) : std::string::npos;
        if (channel == std::string::npos) {
            error = what + " takes R, G or B, not \"" + words[1] + "\"";
        } else {
            value = static_cast<int>(channel);
            c.text = count > 1 ? words[2] : std::string();
        }
    } else {
        error = "unknown lighting word \"" + verb + "\"";
    }
    if (!value) return std::nullopt;
    c.value = *value;
    return c;
}

CControlUI* AudioLightingTarget(CLightControlUI& control, const LightingCommand& c) {
    const std::string& verb = c.verb;
    if (verb == "audio-style") return control.AudioStyleCombo();
    if (verb == "audio-edit") return control.AudioColourTypeCheck(c.value == 1);
    if (verb == "audio-7color") return control.AudioMultiColourCheck();
    if (verb == "audio-color") return control.AudioPalette();
    if (verb == "audio-rgb") return control.AudioColourEdit(static_cast<Channel>(c.value));
    if (verb == "audio-option") return control.AudioColourOption(c.value - 1);
    if (verb == "audio-clear-bg") return control.AudioClearBackgroundButton();
    return nullptr;
}

void RaiseAudioLighting(CControlUI& target, const LightingCommand& c, CPaintManagerUI* pm) {
    const std::string& verb = c.verb;
    if (verb == "audio-style") {
        static_cast<CComboUI&>(target).SelectItem(c.value, true);
    } else if (verb == "audio-edit") {
        static_cast<COptionUI&>(target).Selected(true, true);
    } else if (verb == "audio-7color") {
        static_cast<COptionUI&>(target).Selected(c.value == 1, true);
    } else if (verb == "audio-color") {
        static_cast<CColorPaletteUI&>(target).UserSelectColor(CLightControlUI::kOpaque |
                                                              static_cast<UiColor>(c.value));
    } else if (verb == "audio-rgb") {
        if (pm != nullptr) pm->SetFocus(&target);
        target.SetText(c.text);
        if (pm != nullptr) pm->SetFocus(nullptr);  // leaving the edit raises "killfocus"
    } else {
        target.Activate();  // a click: the colour options, the background's clear button
    }
}

}  // namespace zevik

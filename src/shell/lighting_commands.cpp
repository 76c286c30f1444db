#include "shell/lighting_commands.h"

#include <json/value.h>

#include <chrono>
#include <cstdio>

#include "devices/device_option_ui.h"
#include "devices/hs6533_device.h"
#include "devices/keyboard_device.h"
#include "devices/keyboard_key_layout.h"
#include "devices/mouse_device.h"
#include "devices/mousepad_device.h"
#include "editors/light_control_ui.h"
#include "settings/json_file_util.h"
#include "settings/light_names_file.h"
#include "settings/profile_locations.h"
#include "shell/audio_lighting_words.h"
#include "shell/command_numbers.h"
#include "shell/headless_session.h"
#include "shell/lighting_handlers.h"
#include "shell/main_wnd.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

using namespace std::chrono_literals;
using Channel = CLightControlUI::Channel;

std::string Hex(int rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(rgb) & 0xFFFFFFu);
    return text;
}

// Which items of a device kind's mode list the program's "default_light.json" shows.
std::vector<bool> VisibleModes(int catalogueIndex) {
    const CProfileLocations locations({}, CProfileLocations::DefaultProgramFolder());
    std::vector<bool> visible;
    for (const LightModeName& mode : ReadLightNames(locations.DefaultLightFile(), {}, catalogueIndex).modes) {
        visible.push_back(mode.visible);
    }
    return visible;
}

// ---------------------------------------------------------------- reading

template <class Device>
Json::Value ShowDocument(Device& mouse, CLightControlUI* control) {
    const LightInfoRecord r = mouse.GetLighting();
    const std::vector<std::string>& names = mouse.ModeNames();
    Json::Value doc(Json::objectValue);
    doc["mode"] = int{r.selectItem};
    doc["mode-name"] = r.selectItem < names.size() ? Json::Value(names[r.selectItem]) : Json::Value();
    doc["brightness"] = int{r.light};
    doc["speed"] = int{r.speed};
    doc["direction"] = int{r.fx};
    doc["multicolor"] = int{r.multiColor};
    doc["color"] = Hex(r.red << 16 | r.green << 8 | r.blue);
    doc["old-mode"] = int{r.oldLedmode};
    doc["same-mode"] = mouse.IsSameMode() ? 1 : 0;
    doc["offered"] = control != nullptr && control->IsSameModeShown() ? 1 : 0;
    const AudioLightInfoRecord a = mouse.GetStoredAudioLighting();
    doc["audio-style"] = int{a.audioMode};
    doc["audio-foreground"] = Hex(a.fgColorR << 16 | a.fgColorG << 8 | a.fgColorB);
    doc["audio-background"] = Hex(a.bkColorR << 16 | a.bkColorG << 8 | a.bkColorB);
    doc["audio-7color"] = int{a.sevenColorFlags};
    doc["audio-edit"] = a.colorTypeFlags != 0 ? "fg" : "bg";
    return doc;
}

void PrintShow(const Json::Value& doc, std::ostream& out) {
    out << "mode: " << doc["mode"].asInt() << ' '
        << (doc["mode-name"].isNull() ? "-" : doc["mode-name"].asString()) << '\n';
    for (const char* key : {"brightness", "speed", "direction", "multicolor"})
        out << key << ": " << doc[key].asInt() << '\n';
    out << "color: " << doc["color"].asString() << '\n';
    for (const char* key : {"old-mode", "same-mode", "offered", "audio-style"})
        out << key << ": " << doc[key].asInt() << '\n';
    for (const char* key : {"audio-foreground", "audio-background"})
        out << key << ": " << doc[key].asString() << '\n';
    out << "audio-7color: " << doc["audio-7color"].asInt() << '\n';
    out << "audio-edit: " << doc["audio-edit"].asString() << '\n';
}

template <class Device>
void ShowModes(Device& mouse, std::ostream& out, bool json) {
    const std::vector<int>& values = mouse.ModeList();
    const std::vector<std::string>& names = mouse.ModeNames();
    const std::vector<bool>& visible = mouse.ModeVisible();
    Json::Value list(Json::arrayValue);
    for (size_t i = 0; i < values.size(); ++i) {
        const bool shown = i >= visible.size() || visible[i];
        const std::string name = i < names.size() ? names[i] : std::string();
        if (json) {
            Json::Value item(Json::objectValue);
            item["index"] = static_cast<int>(i);
            item["value"] = values[i];
            item["name"] = name;
            item["hidden"] = !shown;
            list.append(item);
        } else {
            out << i << ' ' << values[i] << ' ' << name << (shown ? "" : " hidden") << '\n';
        }
    }
    if (json) {
        Json::Value doc(Json::objectValue);
        doc["modes"] = list;
        out << CJsonFileUtil::StyledText(doc);
    }
}

// The mouse's (and the mousepad's) preview is its frame of LEDs; the keyboard's is the engine's frame of logical keys, of
// which the keys the board has are listed.
std::vector<std::pair<int, std::uint32_t>> FrameEntries(const COrbantixUSBDevice& mouse) {
    std::vector<std::pair<int, std::uint32_t>> entries;
    for (int i = 0; i < mouse.Frame().Size(); ++i) entries.emplace_back(i, mouse.GetLightEntry(i));
    return entries;
}

std::vector<std::pair<int, std::uint32_t>> FrameEntries(const COrbantixKeyboardDevice& keyboard) {
    std::vector<std::pair<int, std::uint32_t>> entries;
    const KeyLightFrame& frame = keyboard.Engine().Frame();
    for (int k = 0; k < frame.Size(); ++k) {
        if (keyboard.KeyMaps().position[static_cast<size_t>(k)] != kKeyboardNoPosition)
            entries.emplace_back(k, frame.Get(k));
    }
    return entries;
}

// The headset's preview: the engine's frame, one entry per LED.
std::vector<std::pair<int, std::uint32_t>> FrameEntries(COrbantixHS6533Device& headset) {
    std::vector<std::pair<int, std::uint32_t>> entries;
    const CLightFrame& frame = headset.Engine().Frame();
    for (int i = 0; i < frame.Size(); ++i) entries.emplace_back(i, frame.Get(i));
    return entries;
}

template <class Device>
bool ShowFrame(CHeadlessSession& session, Device& mouse, const char* noun, std::ostream& out, bool json,
               std::string& error) {
    // The preview is only meaningful once the lighting thread computed it.
    if (!session.PumpUntil([&mouse] { return mouse.LightingStepCount() >= 1; }, 3s)) {
        error = std::string("the ") + noun + "'s lighting did not step";
        return false;
    }
    Json::Value leds(Json::arrayValue);
    for (const auto& [i, entry] : FrameEntries(mouse)) {
        const int rgb = static_cast<int>((entry & 0xFF) << 16 | (entry & 0xFF00) | (entry >> 16 & 0xFF));
        const int intensity = static_cast<int>(entry >> 24);
        if (json) {
            Json::Value led(Json::objectValue);
            led["index"] = i;
            led["color"] = Hex(rgb);
            led["intensity"] = intensity;
            leds.append(led);
        } else {
            out << i << ' ' << Hex(rgb) << ' ' << intensity << '\n';
        }
    }
    if (json) {
        Json::Value doc(Json::objectValue);
        doc["leds"] = leds;
        out << CJsonFileUtil::StyledText(doc);
    }
    return true;
}

// ---------------------------------------------------------------- changing

// Makes the mouse the current device as a click on its option does; false when it did not become it.
// The control a changing word acts on; null when the page lacks it.
CControlUI* TargetOf(CLightControlUI& control, const LightingCommand& c) {
    const std::string& verb = c.verb;
    if (IsAudioLightingWord(verb)) return AudioLightingTarget(control, c);
    if (verb == "mode") return control.ModeCombo();
    if (verb == "brightness") return control.BrightnessSlider();
    if (verb == "speed") return control.SpeedSlider();
    if (verb == "direction") return control.DirectionOption(c.value);
    if (verb == "multicolor") return control.MultiColourCheck();
    if (verb == "color") return control.Palette();
    if (verb == "rgb") return control.ColourEdit(static_cast<Channel>(c.value));
    if (verb == "option") return control.ColourOption(c.value - 1);
    if (verb == "same-mode") return control.SameModeButton();
    return nullptr;
}

// Whether the user could reach the control on the lighting page in the current effect: enabled, and
// shown within the page.
bool Usable(const CControlUI& target, const CLightControlUI& page) {
    if (!target.IsEnabled()) return false;
    for (const CControlUI* c = &target; c != nullptr && c != &page; c = c->GetParent()) {
        if (!c->IsVisible()) return false;
    }
    return true;
}

// Raises the target's notification as the user's input does.
void Raise(CControlUI& target, const LightingCommand& c, CPaintManagerUI* pm) {
    const std::string& verb = c.verb;
    if (IsAudioLightingWord(verb)) {
        RaiseAudioLighting(target, c, pm);
    } else if (verb == "mode") {
        static_cast<CComboUI&>(target).SelectItem(c.value, true);
    } else if (verb == "brightness" || verb == "speed") {
        static_cast<CSliderUI&>(target).UserSetValue(c.value);
    } else if (verb == "multicolor") {
        static_cast<COptionUI&>(target).Selected(c.value == 1, true);
    } else if (verb == "color") {
        static_cast<CColorPaletteUI&>(target).UserSelectColor(CLightControlUI::kOpaque |
                                                              static_cast<UiColor>(c.value));
    } else if (verb == "rgb") {
        if (pm != nullptr) pm->SetFocus(&target);
        target.SetText(c.text);
        if (pm != nullptr) pm->SetFocus(nullptr);  // leaving the edit raises "killfocus"
    } else {
        target.Activate();  // a click: the direction options, the colour options, the same-mode button
    }
}

const std::vector<std::string> kWords = [] {
    std::vector<std::string> words = {"show",       "modes", "frame",     "mode",
                                      "brightness", "speed", "direction", "multicolor",
                                      "color",      "rgb",   "option",    "same-mode"};
    words.insert(words.end(), AudioLightingWordNames().begin(), AudioLightingWordNames().end());
    return words;
}();

}  // namespace

const std::vector<std::string>& LightingWordNames() {
    return kWords;
}

std::optional<LightingCommand> ParseLightingWords(const std::vector<std::string>& words,
                                                  const std::vector<bool>& visibleModes, std::string& error) {
    if (words.empty()) {
        error =
            "lighting takes show, modes, frame, mode, brightness, speed, direction, multicolor, color, rgb, "
            "option, same-mode or an audio word (audio-style, audio-edit, audio-7color, audio-color, "
            "audio-rgb, audio-option, audio-clear-bg)";
        return std::nullopt;
    }
    if (IsAudioLightingWord(words[0])) return ParseAudioLightingWords(words, error);
    LightingCommand c;
    c.verb = words[0];
    const std::string& verb = c.verb;
    const auto count = [&](size_t min, size_t max) {
        if (words.size() - 1 < min || words.size() - 1 > max) {
            error = "\"lighting " + verb + "\" takes " +
                    (min == max ? std::to_string(min) : std::to_string(min) + " or " + std::to_string(max)) +
                    " argument(s)";
            return false;
        }
        return true;
    };
    std::optional<int> value;
    if (verb == "show" || verb == "modes" || verb == "frame" || verb == "same-mode") {
        if (!count(0, 0)) return std::nullopt;
        return c;
    }
    if (verb == "mode") {
        if (!count(1, 1)) return std::nullopt;
        if (visibleModes.empty()) {
            error = "the mouse's mode list is empty";
            return std::nullopt;
        }
        value = NumberInRange("\"lighting mode\"", words[1], 0, static_cast<long>(visibleModes.size()) - 1,
                              error);
        if (value && !visibleModes[static_cast<size_t>(*value)]) {
            error = "mode " + words[1] + " is a hidden item of the list";
            value.reset();
        }
    } else if (verb == "brightness" || verb == "speed") {
        if (!count(1, 1)) return std::nullopt;
        value = NumberInRange("\"lighting " + verb + "\"", words[1], 0, kMouseLightingLevelMax, error);
    } else if (verb == "direction" || verb == "multicolor") {
        if (!count(1, 1)) return std::nullopt;
        value = NumberInRange("\"lighting " + verb + "\"", words[1], 0, 1, error);
    } else if (verb == "option") {
        if (!count(1, 1)) return std::nullopt;
        value = NumberInRange("\"lighting option\"", words[1], 1, CLightControlUI::kColourOptionCount, error);
    } else if (verb == "color") {
        if (!count(1, 1)) return std::nullopt;
        const bool hex =
            words[1].size() == 6 && words[1].find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        if (hex) {
            value = static_cast<int>(*WholeNumber(words[1], 16));
        } else {
            error = "the colour must be RRGGBB in hexadecimal, not \"" + words[1] + "\"";
        }
    } else if (verb == "rgb") {
        if (!count(1, 2)) return std::nullopt;
        static const std::string kChannels = "RGB";
        const size_t channel = words[1].size() == 1 ? kChannels.find(words[1][0]) : std::string::npos;
        if (channel == std::string::npos) {
            error = "\"lighting rgb\" takes R, G or B, not \"" + words[1] + "\"";
        } else {
            value = static_cast<int>(channel);
            c.text = words.size() > 2 ? words[2] : std::string();
        }
    } else {
        error = "unknown lighting word \"" + verb + "\"";
    }
    if (!value) return std::nullopt;
    c.value = *value;
    return c;
}

std::optional<LightingCommand> ParseLightingWords(const std::vector<std::string>& words, std::string& error) {
    return ParseLightingWords(words, VisibleModes(COrbantixMouseDevice::kProfileCatalogueIndex), error);
}

namespace {

template <class Device>
int RunOn(CHeadlessSession& session, Device* mouse, const char* noun, const LightingCommand& command,
          std::ostream& out, bool json, std::string& error) {
    CLightControlUI* control = LightControlOf(mouse);
    const std::string& verb = command.verb;
    if (verb == "show") {
        const Json::Value doc = ShowDocument(*mouse, control);
        if (json) {
            out << CJsonFileUtil::StyledText(doc);
        } else {
            PrintShow(doc, out);
        }
        return 0;
    }
    if (verb == "modes") {
        ShowModes(*mouse, out, json);
        return 0;
    }
    if (verb == "frame") return ShowFrame(session, *mouse, noun, out, json, error) ? 0 : 1;

    if (control == nullptr) {
        error = std::string("the ") + noun + "'s page has no lighting control";
        return 1;
    }
    if (verb == "same-mode" && !control->IsSameModeShown()) {
        error = "the same effect for all devices is not offered now";
        return 1;
    }
    CControlUI* target = TargetOf(*control, command);
    if (target == nullptr) {
        error = "the lighting page has no control for \"" + verb + "\"";
        return 1;
    }
    if (!Usable(*target, *control)) {
        error = "the current effect does not offer \"" + verb + "\"";
        return 1;
    }
    if (!session.MakeCurrent(*mouse)) {
        error = std::string("the ") + noun + " could not be made the current device";
        return 1;
    }
    Raise(*target, command, session.Window().GetPaintManager());
    session.PumpFor(1ms);
    return 0;
}

}  // namespace

int RunLightingCommand(CHeadlessSession& session, const LightingCommand& command, std::ostream& out,
                       bool json, std::string& error) {
    COrbantixMouseDevice* mouse = session.ConnectedMouse();
    if (mouse == nullptr) {
        error = "no mouse is connected";
        return 1;
    }
    return RunOn(session, mouse, "mouse", command, out, json, error);
}

int RunLightingCommand(CHeadlessSession& session, COrbantixKeyboardDevice& keyboard,
                       const LightingCommand& command, std::ostream& out, bool json, std::string& error) {
    return RunOn(session, &keyboard, "keyboard", command, out, json, error);
}

std::optional<LightingCommand> ParseKeyboardLightingWords(const std::vector<std::string>& words,
                                                          std::string& error) {
    return ParseLightingWords(words, VisibleModes(COrbantixKeyboardDevice::kProfileCatalogueIndex), error);
}

int RunLightingCommand(CHeadlessSession& session, COrbantixMousePadDevice& pad, const LightingCommand& command,
                       std::ostream& out, bool json, std::string& error) {
    return RunOn(session, &pad, "mousepad", command, out, json, error);
}

std::optional<LightingCommand> ParsePadLightingWords(const std::vector<std::string>& words, std::string& error) {
    return ParseLightingWords(words, VisibleModes(COrbantixMousePadDevice::kProfileCatalogueIndex), error);
}

int RunLightingCommand(CHeadlessSession& session, COrbantixHS6533Device& headset, const LightingCommand& command,
                       std::ostream& out, bool json, std::string& error) {
    return RunOn(session, &headset, "headset", command, out, json, error);
}

std::optional<LightingCommand> ParseHeadsetLightingWords(const std::vector<std::string>& words,
                                                         std::string& error) {
    return ParseLightingWords(words, VisibleModes(COrbantixHS6533Device::kProfileCatalogueIndex), error);
}

}  // namespace zevik

#include "shell/headset_commands.h"

#include <json/json.h>

#include "devices/discovery_interface_list.h"
#include "devices/hs6533_device.h"
#include "settings/json_file_util.h"
#include "shell/command_numbers.h"
#include "shell/headless_session.h"
#include "shell/main_wnd.h"

namespace zevik {

namespace {

struct ValueWord {
    const char* word;
    int min;
    int max;
};

constexpr ValueWord kValueWords[] = {
    {"mic", 0, 100},   {"monitor", 0, 100}, {"mic-on", 0, 1},    {"monitor-on", 0, 1},
    {"eq", 1, 13},     {"voice", 0, 1},     {"voice-type", 1, 4}, {"eq-select", 1, CHeadsetAudioBinding::kMaxCustomEqualisers},
};

constexpr const char* kBareWords[] = {"show", "eq-delete", "defaults"};

const ValueWord* FindValueWord(const std::string& word) {
    for (const ValueWord& w : kValueWords) {
        if (word == w.word) return &w;
    }
    return nullptr;
}

bool IsBareWord(const std::string& word) {
    for (const char* w : kBareWords) {
        if (word == w) return true;
    }
    return false;
}

std::string Joined(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
    return text;
}

Json::Value ShowDocument(COrbantixHS6533Device& headset) {
    const CHeadsetAudioBinding& audio = headset.Audio();
    const HeadsetSystemRecord& record = audio.Record();
    Json::Value doc(Json::objectValue);
    doc["connection"] = "cable";
    const std::string card = headset.SoundCardName();
    doc["sound-card"] = card.empty() ? "none" : card;
    doc["mic"] = record.micInSelect != 0 ? "on" : "off";
    doc["mic-level"] = record.micInValue;
    doc["monitor"] = record.micMoniterSelect != 0 ? "on" : "off";
    doc["monitor-level"] = record.micMoniterValue;
    doc["equaliser"] = record.eqType;
    Json::Value bands(Json::arrayValue);
    for (const int band : audio.Bands()) bands.append(band);
    doc["bands"] = bands;
    Json::Value custom(Json::arrayValue);
    for (const std::string& name : audio.CustomNames()) custom.append(name);
    doc["custom"] = custom;
    if (audio.SelectedCustom() >= 0) {
        doc["custom-selected"] = audio.SelectedCustom() + 1;
    } else {
        doc["custom-selected"] = Json::Value::null;
    }
    doc["voice-changer"] = record.magicEnable != 0 ? "on" : "off";
    doc["voice-type"] = record.magicType;
    Json::Value unavailable(Json::arrayValue);
    for (const std::string& effect : audio.Effects().Unavailable()) unavailable.append(effect);
    doc["unavailable"] = unavailable;
    return doc;
}

void PrintShow(const Json::Value& doc, std::ostream& out) {
    const auto list = [](const Json::Value& array, const char* separator, const char* none) {
        std::vector<std::string> items;
        for (const Json::Value& item : array) items.push_back(item.asString());
        return items.empty() ? std::string(none) : Joined(items, separator);
    };
    out << "connection: " << doc["connection"].asString() << '\n';
    out << "sound card: " << doc["sound-card"].asString() << '\n';
    out << "mic: " << doc["mic"].asString() << '\n';
    out << "mic-level: " << doc["mic-level"].asInt() << '\n';
    out << "monitor: " << doc["monitor"].asString() << '\n';
    out << "monitor-level: " << doc["monitor-level"].asInt() << '\n';
    out << "equaliser: " << doc["equaliser"].asInt() << '\n';
    out << "bands: " << list(doc["bands"], " ", "") << '\n';
    out << "custom: " << list(doc["custom"], ",", "") << '\n';
    out << "custom-selected: " << (doc["custom-selected"].isNull() ? "none" : doc["custom-selected"].asString())
        << '\n';
    out << "voice-changer: " << doc["voice-changer"].asString() << '\n';
    out << "voice-type: " << doc["voice-type"].asInt() << '\n';
    out << "unavailable: " << list(doc["unavailable"], ", ", "none") << '\n';
}

bool HeadsetRowLive(CMainWnd& window) {
    const CDiscoveryInterfaceList& list = window.InterfaceList();
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const auto row = list.Row(i);
        if (row && row->kind == kDeviceKindHeadset && list.IsLive(i)) return true;
    }
    return false;
}

}  // namespace

std::optional<HeadsetCommand> ParseHeadsetWords(const std::vector<std::string>& words, std::string& error) {
    if (words.empty()) {
        error = "no headset command";
        return std::nullopt;
    }
    HeadsetCommand command;
    command.verb = words[0];
    const auto arguments = static_cast<int>(words.size()) - 1;
    const auto takes = [&](int count) {
        if (arguments == count) return true;
        error = "\"" + command.verb + "\" takes " + (count == 0 ? "no argument" : std::to_string(count) + " argument" + (count > 1 ? "s" : ""));
        return false;
    };
    if (command.verb == "lighting") {
        command.lighting = ParseHeadsetLightingWords({words.begin() + 1, words.end()}, error);
        if (!command.lighting) return std::nullopt;
        return command;
    }
    if (IsBareWord(command.verb)) {
        if (!takes(0)) return std::nullopt;
        return command;
    }
    if (command.verb == "eq-save") {
        if (arguments > 1) {
            error = "\"eq-save\" takes at most 1 argument (the name)";
            return std::nullopt;
        }
        if (arguments == 1) command.name = words[1];
        return command;
    }
    if (command.verb == "eq-band") {
        if (!takes(2)) return std::nullopt;
        const auto band = NumberInRange("the band of \"eq-band\"", words[1], 1, 10, error);
        if (!band) return std::nullopt;
        const auto value =
            NumberInRange("the value of \"eq-band\"", words[2], kHeadsetBandMin, kHeadsetBandMax, error);
        if (!value) return std::nullopt;
        command.value = *band;
        command.bandValue = *value;
        return command;
    }
    if (const ValueWord* w = FindValueWord(command.verb)) {
        if (!takes(1)) return std::nullopt;
        const auto value = NumberInRange("\"" + command.verb + "\"", words[1], w->min, w->max, error);
        if (!value) return std::nullopt;
        command.value = *value;
        return command;
    }
    error = "unknown headset command \"" + command.verb + "\"";
    return std::nullopt;
}

int RunHeadsetCommand(COrbantixHS6533Device& headset, const HeadsetCommand& command, std::ostream& out, bool json,
                      std::string& error, std::string& notice) {
    CHeadsetAudioBinding& audio = headset.Audio();
    const std::string& verb = command.verb;
    // The equaliser and voice changer keep the change in the profile whatever the card says.
    const auto unchecked = [&notice](bool taken, const char* what) {
        if (!taken) notice = std::string(what) + " not applied: the sound card does not offer it; kept in the profile";
        return 0;
    };
    const auto checked = [&error](bool taken, const char* what) {
        if (taken) return 0;
        error = std::string("the sound card did not take the ") + what + "; nothing changed";
        return 1;
    };
    if (verb == "show") {
        const Json::Value doc = ShowDocument(headset);
        if (json) {
            out << CJsonFileUtil::StyledText(doc);
        } else {
            PrintShow(doc, out);
        }
        return 0;
    }
    if (verb == "mic") return checked(audio.SetMicrophoneLevel(command.value), "microphone level");
    if (verb == "monitor") return checked(audio.SetMonitorLevel(command.value), "monitoring level");
    if (verb == "mic-on") return checked(audio.SetMicrophoneOn(command.value == 1), "microphone switch");
    if (verb == "monitor-on") return checked(audio.SetMonitorOn(command.value == 1), "monitoring switch");
    if (verb == "eq") return unchecked(audio.ChoosePreset(command.value), "equaliser");
    if (verb == "eq-band") return unchecked(audio.MoveBand(command.value - 1, command.bandValue), "equaliser band");
    if (verb == "voice") return unchecked(audio.SetVoiceChanger(command.value == 1), "voice changer");
    if (verb == "voice-type") return unchecked(audio.SetVoiceType(command.value), "voice type");
    if (verb == "eq-select") {
        const auto count = static_cast<int>(audio.CustomNames().size());
        if (command.value > count) {
            error = count == 0 ? "there is no custom equaliser to select"
                               : "\"eq-select\" takes 1 to " + std::to_string(count) + ", not \"" +
                                     std::to_string(command.value) + "\"";
            return 2;
        }
        // As on the page, where the box is open only with the custom preset chosen.
        bool taken = true;
        if (audio.Record().eqType != CHeadsetAudioBinding::kCustomPreset)
            taken = audio.ChoosePreset(CHeadsetAudioBinding::kCustomPreset);
        taken = audio.SelectCustomEqualiser(command.value - 1) && taken;
        return unchecked(taken, "equaliser");
    }
    if (verb == "eq-save") {
        const int result = audio.SaveCustomEqualiser(command.name);
        if (result == CHeadsetAudioBinding::kSaved) return 0;
        if (result == CHeadsetAudioBinding::kNameTaken) {
            error = "another custom equaliser is named \"" + command.name + "\" (message_text_5)";
        } else if (command.name.empty()) {
            error = "no custom equaliser is selected: give a name";
        } else {
            error = "there are already " + std::to_string(CHeadsetAudioBinding::kMaxCustomEqualisers) +
                    " custom equalisers";
        }
        return 1;
    }
    if (verb == "eq-delete") {
        if (audio.DeleteCustomEqualiser()) return 0;
        error = "no custom equaliser is selected";
        return 1;
    }
    if (verb == "defaults") {
        if (headset.RestoreDefaults() == 1) return 0;
        error = "the factory profile could not be restored";
        return 1;
    }
    error = "\"" + verb + "\" needs the session";
    return 1;
}

COrbantixHS6533Device* ConnectedHeadset(CHeadlessSession& session) {
    for (COrbantixUSBDevice* device : session.Window().Devices(CMainWnd::kFamilyHeadset)) {
        auto* headset =
            static_cast<COrbantixHS6533Device*>(device->GetInterface(COrbantixHS6533Device::kClassName));
        if (headset != nullptr && headset->CommandChannel().IsOpen() && headset->IsConnected()) return headset;
    }
    return nullptr;
}

int RunHeadsetCommand(CHeadlessSession& session, const HeadsetCommand& command, std::ostream& out, bool json,
                      std::string& error, std::string& notice) {
    CMainWnd& window = session.Window();
    session.PumpUntil(
        [&] { return ConnectedHeadset(session) != nullptr || (window.FirstScanDone() && !HeadsetRowLive(window)); },
        kHeadsetWait);
    COrbantixHS6533Device* headset = ConnectedHeadset(session);
    if (headset == nullptr) {
        error = "no headset is connected";
        return 1;
    }
    // The lighting words act on the page as the user does, so they need the session's window.
    if (command.lighting) return RunLightingCommand(session, *headset, *command.lighting, out, json, error);
    return RunHeadsetCommand(*headset, command, out, json, error, notice);
}

}  // namespace zevik

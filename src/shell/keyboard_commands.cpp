#include "shell/keyboard_commands.h"

#include <json/json.h>

#include "devices/keyboard_device.h"
#include "settings/json_file_util.h"
#include "shell/command_numbers.h"
#include "shell/keyboard_session.h"
#include "shell/lighting_commands.h"
#include "transport/command_set.h"

namespace zevik {

namespace {

struct ValueWord {
    const char* word;
    int max;  // values 0 ... max
};

constexpr ValueWord kValueWords[] = {
    {"rate", COrbantixKeyboardDevice::kReportRateOptions - 1},
    {"winlock", 1},
    {"wflag", 1},
    {"six-key", 1},
    {"repeat", COrbantixKeyboardDevice::kRepeatMax},
    {"repeat-delay", COrbantixKeyboardDevice::kRepeatDelayOptions - 1},
};

const ValueWord* FindValueWord(const std::string& word) {
    for (const ValueWord& w : kValueWords) {
        if (word == w.word) return &w;
    }
    return nullptr;
}

Json::Value ShowDocument(COrbantixKeyboardDevice& keyboard) {
    Json::Value doc(Json::objectValue);
    doc["connection"] = keyboard.CommandChannel().ReceiverMode() ? "receiver" : "cable";
    doc["active-slot"] = keyboard.GetActiveSlot();
    doc["positions"] = keyboard.PositionCount();
    const KeyboardSystemRecord system = keyboard.GetSystemRecord();
    doc["rate"] = system.PollingRate();
    doc["winlock"] = system.WinFlag();
    doc["wflag"] = system.WFlag();
    doc["six-key"] = system.Key6Flag();
    doc["repeat"] = system.Repeat();
    doc["repeat-delay"] = system.RepeatDelay();
    return doc;
}

void PrintShow(const Json::Value& doc, std::ostream& out) {
    out << "connection: " << doc["connection"].asString() << '\n';
    out << "active slot: " << doc["active-slot"].asInt() << '\n';
    out << "positions: " << doc["positions"].asInt() << '\n';
    for (const ValueWord& w : kValueWords) out << w.word << ": " << doc[w.word].asInt() << '\n';
}

}  // namespace

std::optional<KeyboardCommand> ParseKeyboardWords(const std::vector<std::string>& words, std::string& error) {
    if (words.empty()) {
        error = "no keyboard command";
        return std::nullopt;
    }
    KeyboardCommand command;
    command.verb = words[0];
    if (IsKeyboardKeyWords(words)) {
        command.key = ParseKeyboardKeyWords(words, error);
        if (!command.key) return std::nullopt;
        return command;
    }
    if (command.verb == "lighting" && IsKeyboardColourWords({words.begin() + 1, words.end()})) {
        command.colour = ParseKeyboardColourWords({words.begin() + 1, words.end()}, error);
        if (!command.colour) return std::nullopt;
        return command;
    }
    if (command.verb == "lighting") {
        command.lighting = ParseKeyboardLightingWords({words.begin() + 1, words.end()}, error);
        if (!command.lighting) return std::nullopt;
        return command;
    }
    if (command.verb == "show") {
        if (words.size() != 1) {
            error = "\"show\" takes no argument";
            return std::nullopt;
        }
        return command;
    }
    if (const ValueWord* w = FindValueWord(command.verb)) {
        if (words.size() != 2) {
            error = "\"" + command.verb + "\" takes 1 argument";
            return std::nullopt;
        }
        const auto value = NumberInRange("\"" + command.verb + "\"", words[1], 0, w->max, error);
        if (!value) return std::nullopt;
        command.value = *value;
        return command;
    }
    error = "unknown keyboard command \"" + command.verb + "\"";
    return std::nullopt;
}

int RunKeyboardCommand(COrbantixKeyboardDevice& keyboard, const KeyboardCommand& command, std::ostream& out,
                       bool json, std::string& error) {
    if (command.key) return RunKeyboardKeyCommand(keyboard, *command.key, out, json, error);
    if (command.colour) return RunKeyboardColourCommand(keyboard, *command.colour, error);
    const std::string& verb = command.verb;
    if (verb == "show") {
        const Json::Value doc = ShowDocument(keyboard);
        if (json) {
            out << CJsonFileUtil::StyledText(doc);
        } else {
            PrintShow(doc, out);
        }
        return 0;
    }
    if (verb == "repeat") {
        keyboard.SetRepeat(command.value);
        return 0;
    }
    if (verb == "repeat-delay") {
        keyboard.SetRepeatDelay(command.value);
        return 0;
    }
    int result = kResultDone;
    if (verb == "rate") result = keyboard.SetReportRate(command.value);
    if (verb == "winlock") result = keyboard.SetWinLock(command.value == 1);
    if (verb == "wflag") result = keyboard.SetWFlag(command.value == 1);
    if (verb == "six-key") result = keyboard.SetSixKey(command.value == 1);
    if (result == kResultDone) return 0;
    error = "the keyboard did not take the change (" + CommandResultText(result) + "); it is kept in the profile";
    return 1;
}

int RunKeyboardCommand(CHeadlessSession& session, const KeyboardCommand& command, std::ostream& out, bool json,
                       std::string& error) {
    COrbantixKeyboardDevice* keyboard = WaitForKeyboard(session, kKeyboardWait);
    if (keyboard == nullptr) {
        error = "no keyboard is connected";
        return 1;
    }
    // The lighting words act on the page as the user does, so they need the session's window.
    if (command.lighting) return RunLightingCommand(session, *keyboard, *command.lighting, out, json, error);
    return RunKeyboardCommand(*keyboard, command, out, json, error);
}

}  // namespace zevik

#include "shell/music_command.h"

#include <charconv>
#include <json/value.h>

#include "audio_lighting/music_style_record.h"
#include "settings/json_file_util.h"
#include "shell/dialog_answers.h"
#include "shell/main_wnd.h"

namespace zevik {

namespace {

std::optional<int> Number(const std::string& text, int min, int max, const char* what, std::string& error) {
    int value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || problem != std::errc() || end != text.data() + text.size() || value < min || value > max) {
        error = std::string(what) + " \"" + text + "\" is not one of " + std::to_string(min) + ".." +
                std::to_string(max);
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<MusicCommand> ParseMusicWords(const std::vector<std::string>& words, std::string& error) {
    if (words.empty()) {
        error = "music: show | group N R G B | name N [TEXT]";
        return std::nullopt;
    }
    MusicCommand command;
    command.verb = words[0];
    if (command.verb == "show" && words.size() == 1) return command;
    const bool group = command.verb == "group" && words.size() == 5;
    const bool name = command.verb == "name" && (words.size() == 2 || words.size() == 3);
    if (!group && !name) {
        error = "music: show | group N R G B | name N [TEXT]";
        return std::nullopt;
    }
    const auto n = Number(words[1], 1, MusicStyleRecord::kGroupCount, "group", error);
    if (!n) return std::nullopt;
    command.group = *n;
    if (group) {
        for (std::size_t c = 0; c < 3; ++c) {
            const auto value = Number(words[2 + c], 0, MusicStyleRecord::kMaxValue, "value", error);
            if (!value) return std::nullopt;
            command.values[c] = *value;
        }
    } else if (words.size() == 3) {
        command.name = words[2];
    }
    return command;
}

void PrintMusicGroups(const MusicStyleRecord& record, std::ostream& out, bool json) {
    if (json) {
        Json::Value doc(Json::objectValue);
        doc["style"] = record.style + 1;
        Json::Value& groups = doc["groups"] = Json::Value(Json::arrayValue);
        for (int g = 0; g < MusicStyleRecord::kGroupCount; ++g) {
            Json::Value entry(Json::objectValue);
            entry["group"] = g + 1;
            entry["red"] = record.groups[g][0];
            entry["green"] = record.groups[g][1];
            entry["blue"] = record.groups[g][2];
            entry["name"] = record.names[g];
            groups.append(entry);
        }
        out << CJsonFileUtil::StyledText(doc);
        return;
    }
    out << "style: " << record.style + 1 << '\n';
    for (int g = 0; g < MusicStyleRecord::kGroupCount; ++g) {
        out << "group " << g + 1 << ": " << int{record.groups[g][0]} << ' ' << int{record.groups[g][1]} << ' '
            << int{record.groups[g][2]} << ' ' << record.names[g] << '\n';
    }
}

bool RunMusicCommand(CMainWnd& window, const MusicCommand& command, std::ostream& out, bool json,
                     std::string& error) {
    if (command.verb != "show") {
        CDialogAnswers::Instance().Push(
            command.verb == "group"
                ? "group=" + std::to_string(command.group) + ":" + std::to_string(command.values[0]) + "," +
                      std::to_string(command.values[1]) + "," + std::to_string(command.values[2])
                : "name=" + std::to_string(command.group) + ":" + command.name);
        if (!window.OpenMusicWindow()) {
            error = "the music window did not keep the change";
            return false;
        }
    }
    PrintMusicGroups(window.MusicSettings().Get(), out, json);
    return true;
}

}  // namespace zevik

#include "shell/light_sequence_commands.h"

#include <json/json.h>

#include <algorithm>

#include "devices/mouse_settings_block.h"
#include "settings/json_file_util.h"
#include "settings/light_names_file.h"
#include "settings/light_sequence_store.h"
#include "settings/profile_locations.h"
#include "shell/command_numbers.h"

namespace zevik {

namespace {

constexpr int kSequenceMode = 9;
constexpr int kFirstFurtherSequenceMode = 11;
constexpr std::size_t kLargestPosition = 255;  // "SelectItem" is a byte

std::optional<std::size_t> Position(const std::string& text) {
    const auto value = WholeNumber<std::size_t>(text);
    if (!value || *value > kLargestPosition) return std::nullopt;
    return value;
}

std::string List(const std::vector<std::size_t>& positions) {
    std::string text;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (i != 0) text += i + 1 == positions.size() ? " or " : ", ";
        text += std::to_string(positions[i]);
    }
    return text.empty() ? "none" : text;
}

constexpr const char* kUsage =
    "mouse lighting sequence takes list, import FILE POSITION [NAME] or export POSITION FILE";

}  // namespace

bool IsLightSequenceWords(const std::vector<std::string>& mouseWords) {
    return mouseWords.size() >= 2 && mouseWords[0] == "lighting" && mouseWords[1] == "sequence";
}

std::vector<std::size_t> SequencePositions(const CProfileLocations& locations) {
    const std::vector<LightModeName> modes =
        ReadLightNames(locations.DefaultLightFile(), {}, static_cast<int>(ProfileKind::Mouse)).modes;
    std::vector<std::size_t> positions;
    for (int p = 0; p < CMouseSettingsBlock::kModeItems; ++p) {
        // A position the list does not have, or without a code, is taken as the mode itself, as the
        // lighting does.
        const auto at = static_cast<std::size_t>(p);
        const int mode =
            at < modes.size() && modes[at].value != LightModeName::kNoValue ? modes[at].value : p;
        if (mode == kSequenceMode || mode >= kFirstFurtherSequenceMode) positions.push_back(at);
    }
    return positions;
}

std::optional<LightSequenceCommand> ParseLightSequenceWords(const std::vector<std::string>& mouseWords,
                                                            const CProfileLocations& locations,
                                                            std::string& error) {
    if (!IsLightSequenceWords(mouseWords) || mouseWords.size() < 3) {
        error = kUsage;
        return std::nullopt;
    }
    const std::vector<std::string> words(mouseWords.begin() + 2, mouseWords.end());
    LightSequenceCommand command;
    if (words[0] == "list" && words.size() == 1) {
        command.verb = LightSequenceCommand::Verb::List;
        return command;
    }
    if (words[0] == "import" && (words.size() == 3 || words.size() == 4)) {
        command.verb = LightSequenceCommand::Verb::Import;
        command.file = words[1];
        const std::vector<std::size_t> allowed = SequencePositions(locations);
        const std::optional<std::size_t> position = Position(words[2]);
        if (!position || std::find(allowed.begin(), allowed.end(), *position) == allowed.end()) {
            error = "POSITION takes " + List(allowed) + " (the positions that play a sequence), not \"" +
                    words[2] + "\"";
            return std::nullopt;
        }
        command.position = *position;
        if (words.size() == 4) command.name = words[3];
        return command;
    }
    if (words[0] == "export" && words.size() == 3) {
        command.verb = LightSequenceCommand::Verb::Export;
        const std::optional<std::size_t> position = Position(words[1]);
        if (!position) {
            error = "POSITION takes 0 to " + std::to_string(kLargestPosition) + ", not \"" + words[1] + "\"";
            return std::nullopt;
        }
        command.position = *position;
        command.file = words[2];
        return command;
    }
    error = kUsage;
    return std::nullopt;
}

bool RunLightSequenceCommand(const CProfileLocations& locations, const LightSequenceCommand& command,
                             std::ostream& out, bool json, std::string& error) {
    const CLightSequenceStore store(locations.KindFolder(ProfileKind::Mouse));
    switch (command.verb) {
        case LightSequenceCommand::Verb::List: {
            std::vector<ListedLightSequence> listed;
            if (!store.List(listed, error)) return false;
            if (json) {
                Json::Value doc(Json::objectValue);
                doc["sequences"] = Json::Value(Json::arrayValue);
                for (const ListedLightSequence& s : listed) {
                    Json::Value e(Json::objectValue);
                    e["position"] = static_cast<Json::UInt>(s.position);
                    e["name"] = s.entry.name;
                    e["identifier"] = s.entry.guid;
                    doc["sequences"].append(e);
                }
                out << CJsonFileUtil::StyledText(doc);
            } else {
                for (const ListedLightSequence& s : listed) {
                    out << s.position << ' ' << s.entry.name << ' ' << s.entry.guid << '\n';
                }
            }
            return true;
        }
        case LightSequenceCommand::Verb::Import: {
            const LightSequenceResult result = store.Import(command.file, command.position, command.name);
            if (!result) error = result.message;
            return result.ok;
        }
        case LightSequenceCommand::Verb::Export: {
            const LightSequenceResult result = store.Export(command.position, command.file);
            if (!result) error = result.message;
            return result.ok;
        }
    }
    return false;
}

}  // namespace zevik

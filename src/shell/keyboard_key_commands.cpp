// The keyboard's key words: running them on the connected keyboard.

#include "shell/keyboard_key_commands.h"

#include <json/json.h>

#include "devices/key_layer_image.h"
#include "devices/keyboard_device.h"
#include "devices/macro_image.h"
#include "editors/key_function_label.h"
#include "settings/json_file_util.h"
#include "shell/key_commands.h"

namespace zevik {

namespace {

void List(COrbantixKeyboardDevice& keyboard, int layer, std::ostream& out, bool json) {
    const std::vector<KeyAssignRecord> keys = keyboard.KeyLayer(layer);
    const auto& positions = keyboard.KeyMaps().position;
    Json::Value doc(Json::objectValue);
    doc["layer"] = layer;
    doc["keys"] = Json::Value(Json::arrayValue);
    for (size_t j = 0; j < keys.size() && j < positions.size(); ++j) {
        if (positions[j] == kKeyboardNoPosition) continue;  // not on this keyboard
        const std::string code = AssignmentHex(keys[j].assignment);
        const std::string function = KeyFunctionText(keys[j].assignment, keys[j].defaultAssignment);
        if (json) {
            Json::Value row(Json::objectValue);
            row["key"] = static_cast<int>(j + 1);
            row["code"] = code;
            row["function"] = function;
            doc["keys"].append(row);
        } else {
            out << j + 1 << "  " << code << "  " << function << '\n';
        }
    }
    if (json) out << CJsonFileUtil::StyledText(doc);
}

int Written(int result, std::string& error) {
    error = DeviceWriteFailureText(result);
    return result == 0 ? 0 : 1;
}

int Set(COrbantixKeyboardDevice& keyboard, const KeyboardKeyCommand& command, std::string& error) {
    const auto key = static_cast<size_t>(command.key);
    if (keyboard.KeyMaps().position[key] == kKeyboardNoPosition) {
        error = "the keyboard has no key " + std::to_string(command.key + 1);
        return 1;
    }
    std::vector<KeyAssignRecord> keys = keyboard.KeyLayer(command.layer);
    if (key >= keys.size()) {
        error = "the profile has no key " + std::to_string(command.key + 1);
        return 1;
    }
    KeyAssignRecord record = keys[key];
    record.assignment = command.function.isDefault ? record.defaultAssignment : command.function.code;
    const int macros = ListedMacroCount(keyboard.KindFolder());
    if (IsMacroAssignment(record.assignment) && record.assignment.p1 >= macros) {
        error = "there is no macro " + std::to_string(record.assignment.p1 + 1) + "; the keyboard's macro list holds " +
                std::to_string(macros);
        return 1;
    }
    // As on the key page: the key is opened in its layer, its function kept, the layer written.
    if (command.layer == 2) {
        keyboard.SelectKey2(command.key);
    } else {
        keyboard.SelectKey(command.key);
    }
    keyboard.StoreKeyAssignment(record);
    return Written(keyboard.WriteKeysAndMacros(), error);
}

int Defaults(COrbantixKeyboardDevice& keyboard, std::string& error) {
    keyboard.RestoreDefaults();
    // The keyboard follows the restored profile: both layers and the settings block.
    const int layer1 = keyboard.WriteLayerAndMacros(1);
    if (layer1 != 0) return Written(layer1, error);
    const int layer2 = keyboard.WriteLayerAndMacros(2);
    if (layer2 != 0) return Written(layer2, error);
    const int block = keyboard.WriteSettingsBlock(0, 0);
    if (block != kResultDone) {
        error = "the settings block was not written: " + CommandResultText(block);
        return 1;
    }
    return 0;
}

}  // namespace

int RunKeyboardKeyCommand(COrbantixKeyboardDevice& keyboard, const KeyboardKeyCommand& command, std::ostream& out,
                          bool json, std::string& error) {
    using Verb = KeyboardKeyCommand::Verb;
    switch (command.verb) {
        case Verb::List:
            List(keyboard, command.layer, out, json);
            return 0;
        case Verb::Set:
            return Set(keyboard, command, error);
        case Verb::Write:
            return Written(keyboard.WriteLayerAndMacros(command.layer), error);
        case Verb::Defaults:
            return Defaults(keyboard, error);
    }
    return 1;
}

}  // namespace zevik

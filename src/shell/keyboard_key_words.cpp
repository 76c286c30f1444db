// The keyboard's key words: checking them (no device needed).

#include "devices/key_layer_image.h"
#include "shell/command_numbers.h"
#include "shell/keyboard_key_commands.h"

namespace zevik {

namespace {
constexpr const char* kUsage = "takes list, set K FUNCTION or write";
}  // namespace

bool IsKeyboardKeyWords(const std::vector<std::string>& words) {
    return !words.empty() && (words[0] == "key" || words[0] == "key2" || words[0] == "defaults");
}

std::optional<KeyboardKeyCommand> ParseKeyboardKeyWords(const std::vector<std::string>& words, std::string& error) {
    using Verb = KeyboardKeyCommand::Verb;
    KeyboardKeyCommand command;
    if (!IsKeyboardKeyWords(words)) {
        error = "keyboard key words start with key, key2 or defaults";
        return std::nullopt;
    }
    if (words[0] == "defaults") {
        if (words.size() != 1) {
            error = "\"defaults\" takes no more words";
            return std::nullopt;
        }
        command.verb = Verb::Defaults;
        return command;
    }
    const std::string& layerWord = words[0];
    command.layer = layerWord == "key2" ? 2 : 1;
    const std::string verb = words.size() > 1 ? words[1] : std::string();
    if (verb == "list" || verb == "write") {
        if (words.size() != 2) {
            error = "\"" + layerWord + " " + verb + "\" takes no more words";
            return std::nullopt;
        }
        command.verb = verb == "list" ? Verb::List : Verb::Write;
        return command;
    }
    if (verb == "set" && words.size() >= 4) {
        const auto key = NumberInRange("K", words[2], 1, kKeyboardCommandKeys, error);
        if (!key) return std::nullopt;
        command.verb = Verb::Set;
        command.key = *key - 1;
        const auto function = ParseKeyFunctionWords({words.begin() + 3, words.end()}, error);
        if (!function) return std::nullopt;
        if (command.layer == 2 && !function->isDefault && IsMacroAssignment(function->code)) {
            error = "layer 2 binds no macros: \"key2 set\" takes any other FUNCTION";
            return std::nullopt;
        }
        command.function = *function;
        return command;
    }
    error = layerWord + " " + kUsage;
    return std::nullopt;
}

}  // namespace zevik

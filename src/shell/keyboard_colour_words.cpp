// The keyboard-only lighting words: checking them (no device needed).

#include "shell/command_numbers.h"
#include "shell/keyboard_colour_commands.h"
#include "shell/keyboard_key_commands.h"

namespace zevik {

namespace {

struct ColourWord {
    const char* word;
    KeyboardColourCommand::Verb verb;
    int min, max;
    const char* what;
};

constexpr ColourWord kColourWords[] = {
    {"zzcc", KeyboardColourCommand::Verb::Zzcc, 0, 255, "zzcc"},
    {"custom-slot", KeyboardColourCommand::Verb::CustomSlot, 0, 255, "S"},
    {"custom-key", KeyboardColourCommand::Verb::CustomKey, 1, kKeyboardCommandKeys, "K"},
    {"custom-all", KeyboardColourCommand::Verb::CustomAll, 0, 1, "custom-all"},
};

const ColourWord* Find(const std::string& word) {
    for (const ColourWord& w : kColourWords) {
        if (word == w.word) return &w;
    }
    return nullptr;
}

}  // namespace

bool IsKeyboardColourWords(const std::vector<std::string>& words) {
    return !words.empty() && Find(words[0]) != nullptr;
}

std::optional<KeyboardColourCommand> ParseKeyboardColourWords(const std::vector<std::string>& words,
                                                              std::string& error) {
    const ColourWord* word = words.empty() ? nullptr : Find(words[0]);
    if (word == nullptr) {
        error = "keyboard lighting takes zzcc N, custom-slot S, custom-key K or custom-all 1|0";
        return std::nullopt;
    }
    if (words.size() != 2) {
        error = "\"" + words[0] + "\" takes 1 argument";
        return std::nullopt;
    }
    const auto value = NumberInRange(word->what, words[1], word->min, word->max, error);
    if (!value) return std::nullopt;
    KeyboardColourCommand command;
    command.verb = word->verb;
    // Keys count from 1 in the words, from 0 on the keyboard.
    command.value = word->verb == KeyboardColourCommand::Verb::CustomKey ? *value - 1 : *value;
    return command;
}

}  // namespace zevik

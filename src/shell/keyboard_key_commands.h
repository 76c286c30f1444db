#pragma once
// The keyboard's key words of the headless tool (after "keyboard"):
//   key list                 "K  TTPPQQ  FUNCTION" per key the keyboard has (layer 1); JSON with --json
//   key set K FUNCTION       keeps the function for key K and writes layer 1 with its macros
//   key write                writes layer 1 and the macros it uses, as "save to device"
//   key2 list | key2 set K FUNCTION | key2 write    the same for layer 2, which binds no macros
//   defaults                 the profile back to its factory settings, then written to the keyboard
// K counts from 1 (logical key K - 1); FUNCTION as key_function_words.h takes it. A change is saved in
// the profile only once the keyboard took it.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "editors/key_function_words.h"

namespace zevik {

class COrbantixKeyboardDevice;

inline constexpr int kKeyboardCommandKeys = 170;

struct KeyboardKeyCommand {
    enum class Verb { List, Set, Write, Defaults };
    Verb verb = Verb::List;
    int layer = 1;  // 1 or 2
    int key = -1;   // logical key, from 0
    KeyFunctionWords function;
};

// True for words this module takes ("key", "key2" or "defaults" first).
bool IsKeyboardKeyWords(const std::vector<std::string>& words);

// Checks the words; nothing, with a message naming what is allowed, when they are not a command.
// Needs no device.
std::optional<KeyboardKeyCommand> ParseKeyboardKeyWords(const std::vector<std::string>& words, std::string& error);

// Runs a checked command on the connected keyboard. 0 done; 1 refused or failed, with the reason in
// error.
int RunKeyboardKeyCommand(COrbantixKeyboardDevice& keyboard, const KeyboardKeyCommand& command, std::ostream& out,
                          bool json, std::string& error);

}  // namespace zevik

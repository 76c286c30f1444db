#pragma once
// The keyboard's command words: "show", "rate N" (0-4), "winlock|wflag|six-key 0|1", "repeat N"
// (0-31), "repeat-delay N" (0-3) and "lighting WORDS" (the mouse's lighting words on the keyboard). Checked without a device, so the command line refuses a wrong
// word or number before it opens anything; run as the keyboard page's changes.

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "shell/keyboard_colour_commands.h"
#include "shell/keyboard_key_commands.h"
#include "shell/lighting_commands.h"

namespace zevik {

class CHeadlessSession;
class COrbantixKeyboardDevice;

struct KeyboardCommand {
    std::string verb;
    int value = 0;
    std::optional<KeyboardKeyCommand> key;        // "key", "key2", "defaults" (keyboard_key_commands.h)
    std::optional<KeyboardColourCommand> colour;  // "lighting zzcc|custom-..." (keyboard_colour_commands.h)
    std::optional<LightingCommand> lighting;      // the other "lighting" words (lighting_commands.h)
};

// How long a keyboard command waits for the keyboard to be connected and read.
inline constexpr std::chrono::seconds kKeyboardWait{3};

// Nothing for unknown words or numbers out of range, with a message that names the allowed range.
std::optional<KeyboardCommand> ParseKeyboardWords(const std::vector<std::string>& words, std::string& error);

// Runs a checked command on the keyboard: "show" prints its settings and state (one JSON document
// with json); the others change the setting (saved in the profile; rate and the flags also written
// to the keyboard). 0 done; 1 with error set when the keyboard did not take it.
int RunKeyboardCommand(COrbantixKeyboardDevice& keyboard, const KeyboardCommand& command, std::ostream& out,
                       bool json, std::string& error);

// Waits for the keyboard of the session (kKeyboardWait), then RunKeyboardCommand; 1 with error when
// no keyboard came.
int RunKeyboardCommand(CHeadlessSession& session, const KeyboardCommand& command, std::ostream& out, bool json,
                       std::string& error);

}  // namespace zevik

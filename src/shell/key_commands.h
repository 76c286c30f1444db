#pragma once
// The "mouse key" words of the headless tool. They act as the user does on the key page: the mouse
// becomes the current device, key K is opened through its button's click, the page's controls are set
// to the function, then kept ("key_butt_keysave") and written with the macros the keys use
// ("key_butt_prosave").
//
//   list              "K  TTPPQQ  FUNCTION" per key of the page; one JSON document with --json
//   set K FUNCTION    K from 1 (button "key_" K-1); FUNCTION as key_function_words.h takes it
//   write             the key list and its macros, as "save to mouse"
//   capture K --from-events FILE...   key K as a keyboard key, the key pressed in the event files
//                     captured as the key edit captures it, then kept and written as set does

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "editors/key_function_words.h"

namespace zevik {

class CHeadlessSession;

// The key buttons of the mouse's page.
inline constexpr int kMousePageKeys = 11;

struct KeyCommand {
    std::string verb;
    int key = -1;  // counted from 0
    KeyFunctionWords function;
    std::vector<std::string> eventFiles;  // capture
};

// The words after "key"; nothing, with a message naming what is allowed, when they are not a command.
// Needs no device.
std::optional<KeyCommand> ParseKeyWords(const std::vector<std::string>& words, std::string& error);

// The text of the message a device write that failed shows (as the page's "save to mouse" reports
// it), in the current language; empty for 0 (done).
std::string DeviceWriteFailureText(int result);

// Runs a checked command on the session's mouse. 0 done; 1 refused or failed, with the reason in
// error (the English text of the message the page shows).
int RunKeyCommand(CHeadlessSession& session, const KeyCommand& command, std::ostream& out, bool json,
                  std::string& error);

}  // namespace zevik

#pragma once
// The command-line words of a device kind's macros (after "macro KIND"):
//   list                        "M  NAME  GUID  EVENTS" per macro (one JSON document under --json)
//   add | import FILE           a new macro; prints its name
//   rename M NAME | delete M | export M FILE
//   show M                      "R  ACTION TYPE BUTTON DELAY  TEXT" per event (JSON under --json)
//   insert M R EVENT [--delay MS]   after row R, 0 = at the top
//     EVENT: key down|up NAME | button down|up|click left|right|middle|forward|back
//          | move left|right|up|down DIST
//   delay M R MS | move M R up|down|top|bottom | remove M R | clear M
// Macros and rows count from 1. Words and numbers are checked before anything is opened; delays
// are clamped to 0..65535 and distances to 0..255 instead of refused. Editing verbs save the macro,
// as the page's buttons do.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "editors/macro_event_list.h"
#include "settings/macro_event.h"
#include "settings/profile_locations.h"

namespace zevik {

struct MacroCommand {
    enum class Verb { List, Add, Import, Rename, Delete, Export, Show, Insert, Delay, Move, Remove, Clear };
    Verb verb = Verb::List;
    ProfileKind kind = ProfileKind::Mouse;
    int macro = -1;  // 0-based
    int row = -1;    // 0-based; -1 for insert at the top
    std::string text;  // NAME
    std::filesystem::path file;
    std::vector<MacroEvent> events;  // what insert adds (a click is two)
    std::uint16_t delay = 0;
    MacroRowMove move = MacroRowMove::Up;
};

// words: KIND and what follows it. Nothing, with a message naming what is allowed, when wrong.
std::optional<MacroCommand> ParseMacroWords(const std::vector<std::string>& words, std::string& error);

// Runs a checked command on the kind folder. 0 done; 1 refused or failed (error says why).
// answer is asked for "message_text_2" (the current profile uses the macro being deleted); the
// deletion's own question is the command itself. Without a device the current profile's file is
// renumbered and nothing is sent.
int RunMacroCommand(const CProfileLocations& locations, const MacroCommand& command, std::ostream& out,
                    bool json, const std::function<bool()>& answer, std::string& error);

}  // namespace zevik

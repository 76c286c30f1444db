#pragma once
// "macro KIND record M ...": a recording into macro M of the kind folder, from event files or live
// from the input devices, placed and timed as the macro page's recording does (macro_recorder.h):
//   --from-events FILE...          replay these files (merged by time) instead of the devices
//   --for SECONDS                  live recording time (1 to 3600, default 5)
//   --insert before|after R        before or after row R (from 1) instead of appending
//   --replace R                    row R replaced by the first event recorded (delays ignored)
//   --delay real|ignore|MS         real time (default), none, or a fixed delay (held to 0..65535)

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "editors/macro_recorder.h"
#include "settings/profile_locations.h"

namespace zevik {

struct MacroRecordCommand {
    ProfileKind kind = ProfileKind::Mouse;
    int macro = -1;  // from 0
    int mode = 4;
    int row = -1;    // from 0, for the placements that need one
    RecordDelay delay = RecordDelay::Real;
    std::uint16_t fixedDelay = 0;
    std::vector<std::string> eventFiles;
    int seconds = 5;
};

// True for "KIND record ...".
bool IsMacroRecordWords(const std::vector<std::string>& words);
std::optional<MacroRecordCommand> ParseMacroRecordWords(const std::vector<std::string>& words, std::string& error);

// Records and saves the macro; prints the number of rows added. 0 done; 1 failed (error says why:
// an unreadable or malformed event file with its line, no readable input device, no such macro).
int RunMacroRecord(const CProfileLocations& locations, const MacroRecordCommand& command, std::ostream& out,
                   std::string& error);

}  // namespace zevik

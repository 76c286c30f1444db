#pragma once
// The music window's groups from the command line, changed through the window as a user would:
//   "show"                 the chosen group and the four groups
//   "group N R G B"        tab N, the three sliders, "okbtn"   (N 1..4, values 0..9)
//   "name N [TEXT]"        name N typed (none: emptied, which gives the group's number), "okbtn"

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zevik {

class CMainWnd;
struct MusicStyleRecord;

struct MusicCommand {
    std::string verb;  // "show", "group", "name"
    int group = 0;     // 1..4
    std::array<int, 3> values{};
    std::string name;
};

// Checks the words; nothing, with the allowed range, for anything else. Needs no window.
std::optional<MusicCommand> ParseMusicWords(const std::vector<std::string>& words, std::string& error);

// Runs the command on the window (the change through the music window's OK) and prints the groups
// afterwards: "style: N" (the chosen group, from 1), then "group N: R G B NAME" for the four, or
// one JSON document. False with the message when the window did not take the change.
bool RunMusicCommand(CMainWnd& window, const MusicCommand& command, std::ostream& out, bool json,
                     std::string& error);

// The groups as printed.
void PrintMusicGroups(const MusicStyleRecord& record, std::ostream& out, bool json);

}  // namespace zevik

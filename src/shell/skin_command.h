#pragma once
// The background chosen from the command line as a click in the skin popup would choose it:
// "reset", "image N", "color N" (N counts the offered buttons from 0) or "custom FILE".

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zevik {

class CMainWnd;

struct SkinCommand {
    std::string action;  // "reset", "image", "color", "custom"
    int number = 0;
    std::string file;
};

// Checks the words (a missing or non-numeric N, an unknown action); nothing with the message.
std::optional<SkinCommand> ParseSkinWords(const std::vector<std::string>& words, std::string& error);

// Opens the popup, clicks the chosen button, closes it and prints "image PATH" or "color AARRGGBB"
// of the main window's "root". False, with nothing changed, for an N not offered or a file that is
// no image.
bool RunSkinCommand(CMainWnd& window, const SkinCommand& command, std::ostream& out, std::string& error);

}  // namespace zevik

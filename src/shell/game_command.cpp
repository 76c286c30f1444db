#include "shell/game_command.h"

#include <limits>

#include "shell/app_messages.h"
#include "shell/command_numbers.h"

namespace zevik {

namespace {}  // namespace

std::optional<GameCommand> ParseGameWords(const std::vector<std::string>& words, std::string& error) {
    if (words.size() != 3) {
        error = "game takes NAME WPARAM LPARAM";
        return std::nullopt;
    }
    GameCommand command;
    bool known = false;
    for (std::size_t i = 0; i < kGameMessageNames.size(); ++i) {
        if (words[0] == kGameMessageNames[i]) {
            command.which = i;
            known = true;
        }
    }
    if (!known) {
        error = "NAME takes Game_Start, Game_End, Game_Kill or Game_Death, not \"" + words[0] + "\"";
        return std::nullopt;
    }
    const std::optional<std::uint32_t> w = WholeNumber<std::uint32_t>(words[1]);
    if (!w) {
        error = "WPARAM takes 0 to " + std::to_string(std::numeric_limits<std::uint32_t>::max()) +
                ", not \"" + words[1] + "\"";
        return std::nullopt;
    }
    const std::optional<std::int32_t> l = WholeNumber<std::int32_t>(words[2]);
    if (!l) {
        error = "LPARAM takes " + std::to_string(std::numeric_limits<std::int32_t>::min()) + " to " +
                std::to_string(std::numeric_limits<std::int32_t>::max()) + ", not \"" + words[2] + "\"";
        return std::nullopt;
    }
    command.wParam = *w;
    command.lParam = *l;
    return command;
}

}  // namespace zevik

#pragma once
// The command-line word of a game event: "game NAME WPARAM LPARAM", NAME one of "Game_Start",
// "Game_End", "Game_Kill", "Game_Death"; WPARAM an unsigned 32-bit number, LPARAM a signed one, as
// the session bus methods take them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zevik {

struct GameCommand {
    std::size_t which = 0;  // index into kGameMessageNames
    std::uint32_t wParam = 0;
    std::int32_t lParam = 0;
};

// words: NAME WPARAM LPARAM (after "game"). Nothing, with a message naming what is allowed, when wrong.
std::optional<GameCommand> ParseGameWords(const std::vector<std::string>& words, std::string& error);

}  // namespace zevik

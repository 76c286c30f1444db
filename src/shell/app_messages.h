#pragma once
// The program's registered messages: the names other programs know it by, and the process-wide ids
// they map to. The ids are taken once, before the main window exists, and only read afterwards.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "devices/scan_thread.h"
#include "ui/registered_messages.h"

namespace zevik {

// kActivateMessageName ("ZEVIK-R300Prime") comes with the scan thread, which posts it too.
inline constexpr std::string_view kUpdateRelayMessageName = "{1234567890}";
inline constexpr std::string_view kUpdateEventMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
inline constexpr std::string_view kLightControlNotifyMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}";
inline constexpr std::string_view kLightControlSetMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}";
inline constexpr std::string_view kWorkToolQueryMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF18}";
// "EBE19", not "EBF19": the audio capture program registers it so.
inline constexpr std::string_view kMusicWndMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}";

// The game messages of the registered hook and game set, in its order; all four are handled alike.
inline constexpr std::array<std::string_view, 4> kGameMessageNames = {"Game_Start", "Game_End", "Game_Kill",
                                                                       "Game_Death"};

// The update event's wParam that ends the program.
inline constexpr unsigned kUpdateEventQuit = 4;

struct AppMessages {
    UINT activate = 0;
    UINT updateRelay = 0;
    UINT updateEvent = 0;
    UINT lightControlNotify = 0;
    UINT lightControlSet = 0;
    UINT workToolQuery = 0;
    UINT musicWnd = 0;
    std::array<UINT, kGameMessageNames.size()> game{};

    bool IsGameMessage(UINT msg) const {
        return msg != 0 && std::find(game.begin(), game.end(), msg) != game.end();
    }
};

// Registers the seven names (in the order the program always has), then the game names, and returns
// their ids.
inline AppMessages RegisterAppMessages() {
    AppMessages m;
    m.activate = RegisterWindowMessage(kActivateMessageName);
    m.updateRelay = RegisterWindowMessage(kUpdateRelayMessageName);
    m.updateEvent = RegisterWindowMessage(kUpdateEventMessageName);
    m.lightControlNotify = RegisterWindowMessage(kLightControlNotifyMessageName);
    m.lightControlSet = RegisterWindowMessage(kLightControlSetMessageName);
    m.workToolQuery = RegisterWindowMessage(kWorkToolQueryMessageName);
    m.musicWnd = RegisterWindowMessage(kMusicWndMessageName);
    for (std::size_t i = 0; i < kGameMessageNames.size(); ++i) m.game[i] = RegisterWindowMessage(kGameMessageNames[i]);
    return m;
}

}  // namespace zevik

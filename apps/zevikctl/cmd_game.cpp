// zevikctl game NAME WPARAM LPARAM: a game event for the running zevik, over the session bus. The
// words are checked first (exit 2); no program on the bus is a failure (exit 1).

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "shell/app_messages.h"
#include "shell/game_command.h"

#ifdef ZEVIK_HAVE_QTDBUS
#include "program_call.h"
#endif

namespace zevik::cli {

namespace {

#ifdef ZEVIK_HAVE_QTDBUS
bool SendGameEvent(const GameCommand& command, std::string& error) {
    const std::string_view method = kGameMessageNames[command.which];
    return CallRunningProgram(std::string(method).c_str(),
                              {QVariant::fromValue(static_cast<uint>(command.wParam)),
                               QVariant::fromValue(static_cast<int>(command.lParam))},
                              "event", error);
}
#else
bool SendGameEvent(const GameCommand&, std::string& error) {
    error = "this build has no session bus support";
    return false;
}
#endif

int RunGame(const std::vector<std::string>& words) {
    std::string error;
    const std::optional<GameCommand> command = ParseGameWords(words, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    if (!SendGameEvent(*command, error)) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

void RegisterGameCommands(CLI::App& app, CliContext&, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* game = app.add_subcommand("game", "Send a game event to the running zevik (session bus)");
    game->add_option("WORDS", *words, "NAME WPARAM LPARAM; NAME is Game_Start, Game_End, Game_Kill or Game_Death")
        ->required();
    game->callback([&exitCode, words] { exitCode = RunGame(*words); });
}

}  // namespace zevik::cli

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
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#endif

namespace zevik::cli {

namespace {

#ifdef ZEVIK_HAVE_QTDBUS
constexpr const char* kProgramService = "org.zevik.R300Prime";
constexpr const char* kProgramPath = "/org/zevik/R300Prime";
constexpr int kCallTimeoutMs = 1000;

bool SendGameEvent(const GameCommand& command, std::string& error) {
    int argc = 1;
    char name[] = "zevikctl";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (QCoreApplication::instance() == nullptr) app = std::make_unique<QCoreApplication>(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        error = "no session bus";
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        kProgramService, kProgramPath, kProgramService,
        QString::fromLatin1(kGameMessageNames[command.which].data(),
                            static_cast<qsizetype>(kGameMessageNames[command.which].size())));
    call << static_cast<uint>(command.wParam) << static_cast<int>(command.lParam);
    call.setAutoStartService(false);  // never starts a program: only the running one is meant
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return true;
    error = reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
                ? std::string("no zevik program is on the session bus")
                : "the program did not take the event: " + reply.errorMessage().toStdString();
    return false;
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

// zevikctl: the command-line face of the program. The same transport, devices and profile store as
// the desktop program, without a display.

#include <fmt/core.h>

#include <CLI/CLI.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "emulator/emulation_list.h"
#include "shell/dialog_answers.h"

int main(int argc, char** argv) {
    using namespace zevik::cli;
    CLI::App app{"zevikctl - configure ZEVIK R300 Prime devices from the command line"};
    app.require_subcommand(1);
    app.fallthrough();

    CliContext context;
    app.add_option("--emulate", context.options.emulate,
                   "Emulated devices instead of real ones, e.g. mouse,mousepad or mouse@receiver")
        ->check([](const std::string& list) -> std::string {
            // A list the emulator cannot build is a usage error, refused before anything runs.
            std::vector<zevik::EmulatedDeviceRequest> requests;
            std::string error;
            return zevik::ParseEmulationList(list, requests, error) ? std::string() : error;
        });
    app.add_option("--emulator-state", context.options.emulatorState, "Load and save the emulator's state here");
    app.add_option("--emulator-log", context.options.emulatorLog, "Append every report exchanged to this file");
    app.add_option("--data-dir", context.options.dataDir, "Data folder in place of the default one");
    app.add_flag("--json", context.options.json, "Print JSON");
    std::string answers;
    app.add_option("--answer", answers,
                   "Answers for the dialogs the command opens, in order: yes, no, color=RRGGBB, preset=N, "
                   "collect=N (comma-separated; none left answers no)")
        ->check([](const std::string& list) -> std::string {
            std::istringstream in(list);
            for (std::string answer; std::getline(in, answer, ',');) {
                if (!zevik::CDialogAnswers::IsValid(answer)) return "unknown answer \"" + answer + "\"";
            }
            return {};
        });

    int exitCode = kExitOk;
    RegisterHidCommands(app, context, exitCode);
    RegisterRawCommands(app, context, exitCode);
    RegisterProfileCommands(app, context, exitCode);
    RegisterMacroCommands(app, context, exitCode);
    RegisterMouseCommands(app, context, exitCode);
    RegisterKeyboardCommands(app, context, exitCode);
    RegisterPadCommands(app, context, exitCode);
    RegisterHeadsetCommands(app, context, exitCode);
    RegisterBatchCommands(app, context, exitCode);
    RegisterDialogCommands(app, context, exitCode);
    RegisterSettingsCommands(app, context, exitCode);
    RegisterSkinCommands(app, context, exitCode);
    RegisterGameCommands(app, context, exitCode);
    RegisterUpdateCommands(app, context, exitCode);
    RegisterEmulatorCommands(app, context, exitCode);
    RegisterMusicCommands(app, context, exitCode);
    RegisterAudioCommands(app, context, exitCode);

    // Dialogs run without a display here: each takes the next answer and says what it did.
    app.parse_complete_callback([&answers] {
        zevik::CDialogAnswers& queue = zevik::CDialogAnswers::Instance();
        std::istringstream in(answers);
        for (std::string answer; std::getline(in, answer, ',');) queue.Push(answer);
        queue.SetReporter([](std::string_view key, std::string_view text, std::string_view result) {
            fmt::print(stderr, "zevikctl: dialog {}: {} -> {}\n", key, text, result);
        });
    });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }
    if (!context.Finish() && exitCode == kExitOk) exitCode = kExitFailed;
    return exitCode;
}

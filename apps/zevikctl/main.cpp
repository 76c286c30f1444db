// zevikctl: the command-line face of the program. The same transport, devices and profile store as
// the desktop program, without a display.

#include <CLI/CLI.hpp>

#include "cli_context.h"
#include "commands.h"

int main(int argc, char** argv) {
    using namespace zevik::cli;
    CLI::App app{"zevikctl - configure ZEVIK R300 Prime devices from the command line"};
    app.require_subcommand(1);
    app.fallthrough();

    CliContext context;
    app.add_option("--emulate", context.options.emulate,
                   "Emulated devices instead of real ones, e.g. mouse,mousepad or mouse@receiver");
    app.add_option("--emulator-state", context.options.emulatorState, "Load and save the emulator's state here");
    app.add_option("--emulator-log", context.options.emulatorLog, "Append every report exchanged to this file");
    app.add_option("--data-dir", context.options.dataDir, "Data folder in place of the default one");
    app.add_flag("--json", context.options.json, "Print JSON");

    int exitCode = kExitOk;
    RegisterHidCommands(app, context, exitCode);
    RegisterRawCommands(app, context, exitCode);
    RegisterProfileCommands(app, context, exitCode);
    RegisterMouseCommands(app, context, exitCode);
    RegisterBatchCommands(app, context, exitCode);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }
    if (!context.Finish() && exitCode == kExitOk) exitCode = kExitFailed;
    return exitCode;
}

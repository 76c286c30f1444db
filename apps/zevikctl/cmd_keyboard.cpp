// zevikctl keyboard: the keyboard's settings through the same discovery, connect and page operations
// as the desktop program, on a headless main window.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
#include "shell/headless_run.h"
#include "shell/keyboard_commands.h"

namespace zevik::cli {

namespace {

int RunKeyboard(CliContext& context, const std::vector<std::string>& words) {
    // The words are checked before any device is opened: a refused value is never sent.
    std::string error;
    const std::optional<KeyboardCommand> command = ParseKeyboardWords(words, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    int code = kExitOk;
    if (RunKeyboardCommand(run.Session(), *command, std::cout, context.options.json, error) != 0) {
        std::cerr << "zevikctl: " << error << '\n';
        code = kExitFailed;
    }
    return FinishHeadlessRun(run, code);
}

}  // namespace

void RegisterKeyboardCommands(CLI::App& app, CliContext& context, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* keyboard = app.add_subcommand("keyboard", "Show or change the keyboard's settings");
    keyboard
        ->add_option("WORDS", *words,
                     "show | rate N (0-4) | winlock 0|1 | wflag 0|1 | six-key 0|1 | repeat N (0-31) | "
                     "repeat-delay N (0-3) | key list | key set K FUNCTION | key write | key2 list | "
                     "key2 set K FUNCTION | key2 write | defaults | lighting zzcc N (0-255) | "
                     "lighting custom-slot S (0-255) | lighting custom-key K | lighting custom-all 1|0 | "
                     "lighting show|modes|frame|mode N|brightness N|speed N|direction 1|0|multicolor 0|1|"
                     "color RRGGBB|rgb R|G|B [TEXT]|option N|same-mode "
                     "(K: 1-170; FUNCTION as for \"mouse key set\", no macro in key2)")
        ->required();
    keyboard->callback([&context, &exitCode, words] { exitCode = RunKeyboard(context, *words); });
}

}  // namespace zevik::cli

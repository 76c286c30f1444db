// zevikctl pad: the mousepad through the same discovery, connect and page operations as the desktop
// program, on a headless main window.

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
#include "shell/pad_commands.h"

namespace zevik::cli {

namespace {

int RunPad(CliContext& context, const std::vector<std::string>& words) {
    // The words are checked before any device is opened: a refused value is never sent.
    std::string error;
    const std::optional<PadCommand> command = ParsePadWords(words, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    int code = kExitOk;
    if (RunPadCommand(run.Session(), *command, std::cout, context.options.json, error) != 0) {
        std::cerr << "zevikctl: " << error << '\n';
        code = kExitFailed;
    }
    return FinishHeadlessRun(run, code);
}

}  // namespace

void RegisterPadCommands(CLI::App& app, CliContext& context, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* pad = app.add_subcommand("pad", "Show the mousepad or change its lighting");
    pad->add_option("WORDS", *words,
                    "show | lighting show|modes|frame|mode N (0-8)|brightness N|speed N|direction 1|0|"
                    "multicolor 0|1|color RRGGBB|rgb R|G|B [TEXT]|option N|same-mode")
        ->required();
    pad->callback([&context, &exitCode, words] { exitCode = RunPad(context, *words); });
}

}  // namespace zevik::cli

// zevikctl skin: the main window's background, chosen in the skin popup as a click there would:
//   skin reset | image N | color N | custom FILE     (N counts the offered buttons from 0)
// Prints "image PATH" or "color AARRGGBB" of the main window's "root" afterwards.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
#include "shell/headless_run.h"
#include "shell/skin_command.h"

namespace zevik::cli {

namespace {

int RunSkin(CliContext& context, const std::vector<std::string>& words) {
    std::string error;
    const std::optional<SkinCommand> command = ParseSkinWords(words, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    if (!RunSkinCommand(run.Session().Window(), *command, std::cout, error)) {
        std::cerr << "zevikctl: " << error << '\n';
        return FinishHeadlessRun(run, kExitFailed);
    }
    return FinishHeadlessRun(run, kExitOk);
}

}  // namespace

void RegisterSkinCommands(CLI::App& app, CliContext& context, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* skin = app.add_subcommand("skin", "The main window's background, as the skin popup sets it");
    skin->add_option("WORDS", *words, "reset | image N | color N | custom FILE (N counts from 0)")
        ->required();
    skin->callback([&context, &exitCode, words] { exitCode = RunSkin(context, *words); });
}

}  // namespace zevik::cli

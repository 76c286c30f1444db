// zevikctl headset: the headset's sound settings and lighting through the same discovery, connect and
// page operations as the desktop program, on a headless main window.

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
#include "shell/headset_commands.h"

namespace zevik::cli {

namespace {

int RunHeadset(CliContext& context, const std::vector<std::string>& words) {
    // The words are checked before any device is opened: a refused value is never sent.
    std::string error;
    const std::optional<HeadsetCommand> command = ParseHeadsetWords(words, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    std::string notice;
    const int code = RunHeadsetCommand(run.Session(), *command, std::cout, context.options.json, error, notice);
    if (!notice.empty()) std::cerr << "zevikctl: " << notice << '\n';
    if (code != kExitOk) std::cerr << "zevikctl: " << error << '\n';
    return FinishHeadlessRun(run, code);
}

}  // namespace

void RegisterHeadsetCommands(CLI::App& app, CliContext& context, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* headset = app.add_subcommand("headset", "Show or change the headset's sound settings and lighting");
    headset
        ->add_option("WORDS", *words,
                     "show | mic N | monitor N (0-100) | mic-on 0|1 | monitor-on 0|1 | eq P (1-13) | "
                     "eq-band B VALUE (B 1-10, VALUE -20..20) | eq-select N (from 1) | eq-save [NAME] | "
                     "eq-delete | voice 0|1 | voice-type T (1-4) | defaults | lighting WORDS")
        ->required();
    headset->callback([&context, &exitCode, words] { exitCode = RunHeadset(context, *words); });
}

}  // namespace zevik::cli

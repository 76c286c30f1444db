// zevikctl macro KIND VERB ...: a device kind's macros in its kind folder (list, add, import,
// rename, delete, export, show, and the event edits). Only files change here: no device is opened,
// and a deletion renumbers the stored profiles without sending anything.

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "settings/profile_locations.h"
#include "shell/dialog_answers.h"
#include "shell/macro_commands.h"

namespace zevik::cli {

namespace {

// The question a deletion asks when the current profile's keys use the macro, answered from
// --answer (none left declines).
bool AnswerCurrentProfileQuestion() {
    CDialogAnswers& answers = CDialogAnswers::Instance();
    const std::string answer = answers.Next();
    const bool yes = answer == "yes";
    answers.Report("message_text_2", "The current profile uses this macro. Delete it anyway?", yes ? "yes" : "no");
    return yes;
}

}  // namespace

int RunMacroWords(CliContext& context, const std::vector<std::string>& words) {
    std::string error;
    const std::optional<MacroCommand> command = ParseMacroWords(words, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    const CProfileLocations locations(context.options.dataDir, {});
    if (RunMacroCommand(locations, *command, std::cout, context.options.json, AnswerCurrentProfileQuestion, error) != 0) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

void RegisterMacroCommands(CLI::App& app, CliContext& context, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    auto delay = std::make_shared<std::string>();
    CLI::App* macro = app.add_subcommand("macro", "List and edit the macros of a device kind (macros and rows count from 1)");
    macro
        ->add_option("WORDS", *words,
                     "KIND list | add | import FILE | rename M NAME | delete M | export M FILE | show M | "
                     "insert M R EVENT | delay M R MS | move M R up|down|top|bottom | remove M R | clear M; "
                     "EVENT: key down|up NAME | button down|up|click left|right|middle|forward|back | "
                     "move left|right|up|down DIST")
        ->required();
    macro->add_option("--delay", *delay, "the delay before an inserted event, milliseconds (0 to 65535)");
    macro->callback([&context, &exitCode, words, delay] {
        std::vector<std::string> all = *words;
        if (!delay->empty()) {
            all.push_back("--delay");
            all.push_back(*delay);
        }
        exitCode = RunMacroWords(context, all);
    });
}

}  // namespace zevik::cli

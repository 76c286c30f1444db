// zevikctl macro KIND VERB ...: a device kind's macros in its kind folder (list, add, import,
// rename, delete, export, show, and the event edits). Only files change here, but for a deletion: when
// a mouse or keyboard is connected, its renumbered key list is written to it with the macros it uses.

#include <CLI/CLI.hpp>

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "settings/profile_locations.h"
#include "shell/dialog_answers.h"
#include "devices/keyboard_device.h"
#include "devices/mouse_device.h"
#include "headless_start.h"
#include "shell/headless_session.h"
#include "shell/keyboard_session.h"
#include "shell/macro_commands.h"
#include "shell/macro_record_command.h"
#include "shell/key_commands.h"

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

// The connected mouse or keyboard reads the renumbered profile when it connects; its keys and the
// macros they use are then written as "save to device" does. Without the device nothing is sent.
int WriteKeysAfterDeletion(CliContext& context, ProfileKind kind) {
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    int code = kExitOk;
    std::optional<int> result;  // nothing: no device to write to
    if (kind == ProfileKind::Mouse) {
        if (COrbantixMouseDevice* mouse = run.Session().WaitForMouse(std::chrono::seconds(3))) {
            result = mouse->WriteKeysAndMacros();
        }
    } else if (COrbantixKeyboardDevice* keyboard = WaitForKeyboard(run.Session(), std::chrono::seconds(3))) {
        result = keyboard->WriteLayerAndMacros(1);  // layer 1 holds the macros
    }
    if (result && *result != 0) {
        std::cerr << "zevikctl: " << DeviceWriteFailureText(*result) << '\n';
        code = kExitFailed;
    }
    return FinishHeadlessRun(run, code);
}

}  // namespace

int RunMacroRecordWords(CliContext& context, const std::vector<std::string>& words) {
    std::string error;
    const std::optional<MacroRecordCommand> command = ParseMacroRecordWords(words, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    const CProfileLocations locations(context.options.dataDir, {});
    if (RunMacroRecord(locations, *command, std::cout, error) != 0) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

int RunMacroWords(CliContext& context, const std::vector<std::string>& words) {
    if (IsMacroRecordWords(words)) return RunMacroRecordWords(context, words);
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
    if (command->verb != MacroCommand::Verb::Delete) return kExitOk;
    if (command->kind != ProfileKind::Mouse && command->kind != ProfileKind::Keyboard) return kExitOk;
    return WriteKeysAfterDeletion(context, command->kind);
}

void RegisterMacroCommands(CLI::App& app, CliContext& context, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    auto delay = std::make_shared<std::string>();
    CLI::App* macro = app.add_subcommand("macro", "List and edit the macros of a device kind (macros and rows count from 1)");
    macro
        ->add_option("WORDS", *words,
                     "KIND list | add | import FILE | rename M NAME | delete M | export M FILE | show M | "
                     "record M [--from-events FILE...] [--for S] [--insert before|after R | --replace R] | "
                     "insert M R EVENT | delay M R MS | move M R up|down|top|bottom | remove M R | clear M; "
                     "EVENT: key down|up NAME | button down|up|click left|right|middle|forward|back | "
                     "move left|right|up|down DIST")
        ->required();
    macro->add_option("--delay", *delay,
                      "insert: the delay before the event, milliseconds (0 to 65535); record: real, ignore or MS");
    auto files = std::make_shared<std::vector<std::string>>();
    auto insert = std::make_shared<std::vector<std::string>>();
    auto replace = std::make_shared<std::string>();
    auto seconds = std::make_shared<std::string>();
    macro->add_option("--from-events", *files, "record: evemu-record files to replay instead of the input devices");
    macro->add_option("--insert", *insert, "record: before|after R")->expected(2);
    macro->add_option("--replace", *replace, "record: row R replaced by the first event");
    macro->add_option("--for", *seconds, "record: seconds of a live recording (default 5)");
    macro->callback([&context, &exitCode, words, delay, files, insert, replace, seconds] {
        std::vector<std::string> all = *words;
        const auto append = [&all](const char* flag, const std::vector<std::string>& values) {
            if (values.empty()) return;
            all.push_back(flag);
            all.insert(all.end(), values.begin(), values.end());
        };
        append("--from-events", *files);
        append("--insert", *insert);
        if (!replace->empty()) append("--replace", {*replace});
        if (!seconds->empty()) append("--for", {*seconds});
        if (!delay->empty()) {
            all.push_back("--delay");
            all.push_back(*delay);
        }
        exitCode = RunMacroWords(context, all);
    });
}

}  // namespace zevik::cli

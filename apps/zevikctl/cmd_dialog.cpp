// zevikctl dialog: opens one of the program's dialogs on the headless main window, answered from
// --answer, and prints what it returned:
//   dialog message TEXT_KEY [--title KEY] [--buttons 0|1] [--dpi N] [--arg VALUE]   1 or 0
//   dialog about                                                                      the version text
//   dialog color [--initial RRGGBB]                                   "1 AARRGGBB" or 0

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
#include "settings/colour_choices.h"
#include "settings/profile_locations.h"
#include "shell/about_wnd.h"
#include "shell/headless_run.h"
#include "shell/main_wnd.h"
#include "shell/msg_wnd.h"
#include "ui/paint_manager_ui.h"

namespace zevik::cli {

namespace {

struct MessageArguments {
    std::string textKey;
    std::string titleKey;
    int buttons = 0;
    int dpi = 96;
    std::optional<std::string> argument;
};

int RunMessage(CliContext& context, const MessageArguments& args) {
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    const int result = ShowMessage(run.Session().Window().GetHWND(), args.titleKey, args.textKey, args.dpi,
                                   args.buttons, args.argument);
    std::cout << result << '\n';
    return FinishHeadlessRun(run, kExitOk);
}

int RunAbout(CliContext& context) {
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    const std::optional<std::string> version = ShowAboutWindow(run.Session().Window().GetHWND(), 96);
    if (!version) {
        std::cerr << "zevikctl: the about window did not open\n";
        return FinishHeadlessRun(run, kExitFailed);
    }
    std::cout << *version << '\n';
    return FinishHeadlessRun(run, kExitOk);
}

int RunColour(CliContext& context, UiColor initial) {
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    const std::optional<UiColor> chosen = run.Session().Window().PickColour(initial);
    if (chosen) {
        std::cout << "1 " << CColourChoices::FormatColour(*chosen) << '\n';
    } else {
        std::cout << "0\n";
    }
    return FinishHeadlessRun(run, kExitOk);
}

}  // namespace

void RegisterDialogCommands(CLI::App& app, CliContext& context, int& exitCode) {
    CLI::App* dialog =
        app.add_subcommand("dialog", "Open one of the program's dialogs (answered from --answer)");
    dialog->require_subcommand(1);

    auto args = std::make_shared<MessageArguments>();
    auto argument = std::make_shared<std::string>();
    CLI::App* message =
        dialog->add_subcommand("message", "The message dialog with a text key; prints 1 or 0");
    message->add_option("TEXT_KEY", args->textKey, "Language text key, e.g. message_text_29")->required();
    message->add_option("--title", args->titleKey, "Language text key of the title");
    message->add_option("--buttons", args->buttons, "0: confirm only, 1: confirm and cancel")
        ->check(CLI::IsMember({0, 1}));
    message->add_option("--dpi", args->dpi, "The dialog's DPI (48 to 192 in steps of 24; others take 96)");
    CLI::Option* arg = message->add_option("--arg", *argument, "Replaces the first %d or %s of the text");
    message->callback([&context, &exitCode, args, argument, arg] {
        if (arg->count() > 0) args->argument = *argument;
        exitCode = RunMessage(context, *args);
    });

    CLI::App* about = dialog->add_subcommand("about", "The about window; prints its version text");
    about->callback([&context, &exitCode] { exitCode = RunAbout(context); });

    auto initial = std::make_shared<std::string>("FF0000");
    CLI::App* color = dialog->add_subcommand("color", "The colour picker; prints \"1 AARRGGBB\" or 0");
    color->add_option("--initial", *initial, "The colour it opens with, RRGGBB (default FF0000)")
        ->check(
            [](const std::string& text) -> std::string {
                const bool hex = text.size() == 6 && CColourChoices::ParseColour(text).has_value();
                return hex ? std::string() : "a colour is six hexadecimal digits, RRGGBB";
            },
            "RRGGBB");
    color->callback([&context, &exitCode, initial] {
        exitCode = RunColour(context, 0xFF000000u | *CColourChoices::ParseColour(*initial));
    });
}

}  // namespace zevik::cli

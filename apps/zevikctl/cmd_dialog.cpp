// zevikctl dialog: opens one of the program's dialogs on the headless main window, answered from
// --answer, and prints what it returned:
//   dialog message TEXT_KEY [--title KEY] [--buttons 0|1] [--dpi N] [--arg VALUE]   1 or 0
//   dialog about                                                                      the version text

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
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
    // The window is read as it opens: the answer closes it right after.
    CAboutWnd wnd;
    CMainWnd& main = run.Session().Window();
    if (wnd.Create(main.GetHWND(), "  ", 0x90000000, 0x80, 0, 0, CAboutWnd::kWidth, CAboutWnd::kHeight) ==
        0) {
        std::cerr << "zevikctl: the about window has no skin: " << wnd.GetSkinError() << '\n';
        return FinishHeadlessRun(run, kExitFailed);
    }
    std::cout << wnd.VersionText() << '\n';
    wnd.DestroyWindow();
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
}

}  // namespace zevik::cli

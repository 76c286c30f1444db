// zevikctl skin: the main window's background, chosen in the skin popup as a click there would:
//   skin reset | image N | color N | custom FILE     (N counts the offered buttons from 0)
// Prints "image PATH" or "color AARRGGBB" of the main window's "root" afterwards.

#include <fmt/core.h>

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>

#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
#include "shell/headless_run.h"
#include "shell/main_wnd.h"
#include "shell/skin_frame.h"
#include "ui/control_ui.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik::cli {

namespace {

struct SkinArguments {
    std::string action;
    int number = 0;
    std::string file;
};

int RunSkin(CliContext& context, const SkinArguments& args) {
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    CMainWnd& window = run.Session().Window();
    window.SetImageFileChooser([&args] { return std::filesystem::path(args.file); });
    window.OpenSkinFrame();
    CSkinFrame* frame = window.GetSkinFrame();
    if (frame == nullptr) {
        std::cerr << "zevikctl: the skin popup did not open\n";
        return FinishHeadlessRun(run, kExitFailed);
    }
    CPaintManagerUI& pm = *frame->GetPaintManager();
    CControlUI* target = nullptr;
    if (args.action == "reset") {
        target = pm.FindControl("skin_reset");
    } else if (args.action == "custom") {
        if (!IsImageFile(args.file)) {
            std::cerr << "zevikctl: " << args.file << " is no image (PNG, JPEG, BMP or GIF)\n";
            return FinishHeadlessRun(run, kExitFailed);
        }
        target = pm.FindControl("skin_Custom");
    } else {
        const auto buttons = args.action == "image" ? frame->ImageButtons() : frame->ColourButtons();
        if (args.number < 0 || args.number >= static_cast<int>(buttons.size())) {
            std::cerr << "zevikctl: " << args.action << " takes 0 to " << buttons.size() - 1 << ", not "
                      << args.number << '\n';
            return FinishHeadlessRun(run, kExitFailed);
        }
        target = buttons[static_cast<std::size_t>(args.number)];
    }
    if (target != nullptr) pm.SendNotify(target, DUI_MSGTYPE_CLICK);
    frame->Close(0);
    const CControlUI* root = window.FindControl("root");
    if (root != nullptr && !root->GetBkImage().empty()) {
        std::cout << "image " << root->GetBkImage() << '\n';
    } else if (root != nullptr) {
        std::cout << fmt::format("color {:08X}\n", root->GetBkColor());
    }
    return FinishHeadlessRun(run, kExitOk);
}

}  // namespace

void RegisterSkinCommands(CLI::App& app, CliContext& context, int& exitCode) {
    CLI::App* skin = app.add_subcommand("skin", "The main window's background, as the skin popup sets it");
    skin->require_subcommand(1);
    auto args = std::make_shared<SkinArguments>();
    skin->add_subcommand("reset", "The default background")->callback([&context, &exitCode, args] {
        args->action = "reset";
        exitCode = RunSkin(context, *args);
    });
    for (const char* action : {"image", "color"}) {
        CLI::App* sub =
            skin->add_subcommand(action, std::string("An offered ") + action + ", counted from 0");
        sub->add_option("N", args->number, "The offered button, counted from 0")->required();
        sub->callback([&context, &exitCode, args, action] {
            args->action = action;
            exitCode = RunSkin(context, *args);
        });
    }
    CLI::App* custom = skin->add_subcommand("custom", "An image file of your own");
    custom->add_option("FILE", args->file, "A PNG, JPEG, BMP or GIF file")->required();
    custom->callback([&context, &exitCode, args] {
        args->action = "custom";
        exitCode = RunSkin(context, *args);
    });
}

}  // namespace zevik::cli

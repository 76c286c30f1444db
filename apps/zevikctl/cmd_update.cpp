// zevikctl update: the settings window's update check and downloads, headless (shell/update_command.h).
//   update check    [--server URL] [--ca-file FILE]   asks the service for every present entry
//   update download [--server URL] [--ca-file FILE]   then downloads every offered package
// One line per row: ENTRY<TAB>STATE<TAB>TEXTKEY<TAB>CURRENT<TAB>NEW<TAB>FILE, then
// window<TAB>STATE<TAB>TEXTKEY; --json prints one document.

#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
#include "shell/headless_run.h"
#include "shell/update_command.h"
#include "update/update_download_folder.h"

namespace zevik::cli {

namespace {

struct UpdateWords {
    bool download = false;
    std::string server;
    std::string caFile;
    CLI::Option* serverOption = nullptr;
    CLI::Option* caFileOption = nullptr;
};

int RunUpdate(CliContext& context, const UpdateWords& words) {
    UpdateCommand command;
    command.download = words.download;
    if (words.serverOption->count() > 0) command.server = words.server;
    if (words.caFileOption->count() > 0) command.caFile = words.caFile;
    // The words are checked before anything opens.
    std::string error;
    if (!CheckUpdateCommand(command, error)) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    if (words.download && !PrepareUpdateDownloadFolder(DefaultUpdateTempRoot(), error)) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitFailed;
    }
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    // The rows show what the devices found by the first scan report.
    run.Session().WaitForMouse(std::chrono::seconds(3));
    const int code = RunUpdateCommand(run.Session(), command, std::cout, std::cerr, context.options.json);
    return FinishHeadlessRun(run, code == 0 ? kExitOk : kExitFailed);
}

}  // namespace

void RegisterUpdateCommands(CLI::App& app, CliContext& context, int& exitCode) {
    CLI::App* update = app.add_subcommand("update", "Ask the update service and download the offered packages");
    update->require_subcommand(1);
    for (const bool download : {false, true}) {
        CLI::App* sub = update->add_subcommand(download ? "download" : "check",
                                               download ? "Check, then download every offered package"
                                                        : "Show every present entry's versions and state");
        auto words = std::make_shared<UpdateWords>();
        words->download = download;
        words->serverOption = sub->add_option("--server", words->server, "The service's API root (http(s)://…/)");
        words->caFileOption = sub->add_option("--ca-file", words->caFile, "A certificate to trust besides the system's");
        sub->callback([&context, &exitCode, words] { exitCode = RunUpdate(context, *words); });
    }
}

}  // namespace zevik::cli

// zevikctl update: the settings window's update check and downloads, headless.
//   update check    [--server URL] [--ca-file FILE]   asks the service for every present entry
//   update download [--server URL] [--ca-file FILE]   then downloads every offered package
// One line per row: ENTRY<TAB>STATE<TAB>TEXTKEY<TAB>CURRENT<TAB>NEW<TAB>FILE, then
// window<TAB>STATE<TAB>TEXTKEY; --json prints one document.

#include <json/json.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
#include "settings/json_file_util.h"
#include "shell/headless_run.h"
#include "shell/main_wnd.h"
#include "update/update_download_folder.h"
#include "update/update_server.h"
#include "update/update_session.h"

namespace zevik::cli {

namespace {

struct UpdateWords {
    bool download = false;
    std::string server;
    std::string caFile;
    CLI::Option* serverOption = nullptr;
    CLI::Option* caFileOption = nullptr;
};

Json::Value RowDocument(const UpdateListRow& row) {
    Json::Value doc(Json::objectValue);
    doc["entry"] = row.displayName;
    doc["name"] = row.packageName;
    doc["state"] = static_cast<int>(row.state);
    doc["text"] = std::string(UpdateRowTextKey(row.state));
    doc["current"] = row.currentText;
    doc["new"] = row.newText;
    doc["device_id"] = row.deviceId ? Json::Value(static_cast<Json::Int64>(*row.deviceId)) : Json::Value();
    doc["path"] = row.url;
    doc["file"] = row.localFile.string();
    return doc;
}

void Print(const UpdateSessionSnapshot& snapshot, bool json) {
    if (json) {
        Json::Value doc(Json::objectValue);
        doc["window"]["state"] = static_cast<int>(snapshot.window);
        doc["window"]["text"] = std::string(UpdateWindowTextKey(snapshot.window));
        doc["rows"] = Json::Value(Json::arrayValue);
        for (const UpdateListRow& row : snapshot.rows) doc["rows"].append(RowDocument(row));
        std::cout << CJsonFileUtil::StyledText(doc);
        return;
    }
    for (const UpdateListRow& row : snapshot.rows) {
        std::cout << row.displayName << '\t' << static_cast<int>(row.state) << '\t' << UpdateRowTextKey(row.state)
                  << '\t' << row.currentText << '\t' << row.newText << '\t' << row.localFile.string() << '\n';
    }
    std::cout << "window\t" << static_cast<int>(snapshot.window) << '\t' << UpdateWindowTextKey(snapshot.window)
              << '\n';
}

// The words are checked before anything opens; 0 when they are fine.
int CheckWords(const UpdateWords& words) {
    if (words.serverOption->count() > 0 && !IsValidUpdateApiRoot(words.server)) {
        std::cerr << "zevikctl: --server must be an http:// or https:// address ending in \"/\"\n";
        return kExitUsage;
    }
    if (words.caFileOption->count() > 0 && ::access(words.caFile.c_str(), R_OK) != 0) {
        std::cerr << "zevikctl: --ca-file " << words.caFile << " cannot be read\n";
        return kExitUsage;
    }
    return kExitOk;
}

int RunUpdate(CliContext& context, const UpdateWords& words) {
    if (const int bad = CheckWords(words); bad != kExitOk) return bad;
    const std::string apiRoot = ResolveUpdateApiRoot(
        words.serverOption->count() > 0 ? std::optional<std::string>(words.server) : std::nullopt);
    if (!IsValidUpdateApiRoot(apiRoot)) {
        std::cerr << "zevikctl: " << kUpdateServerVariable << " must be an http:// or https:// address ending in \"/\"\n";
        return kExitUsage;
    }
    ConfigureUpdateCaFile(
        ResolveUpdateCaFile(words.caFileOption->count() > 0 ? std::optional<std::string>(words.caFile) : std::nullopt));
    std::string error;
    const std::optional<std::filesystem::path> downloads = PrepareUpdateDownloadFolder(DefaultUpdateTempRoot(), error);
    if (words.download && !downloads) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitFailed;
    }

    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    // The rows show what the devices found by the first scan report.
    run.Session().WaitForMouse(std::chrono::seconds(3));
    CMainWnd& window = run.Session().Window();
    // Nothing follows a download here, so there is no reason for the desktop's pause between them.
    UpdateSessionOptions options{apiRoot, window.DataRoot(), downloads.value_or(std::filesystem::path()),
                                 std::chrono::milliseconds(0)};
    UpdateSession session(window.CurrentUpdateTable(), options, nullptr);
    session.Start();
    session.WaitForCheck();
    if (words.download && session.ConfirmDownloads()) session.WaitForDownloads();
    session.Stop();
    const UpdateSessionSnapshot snapshot = session.Snapshot();
    Print(snapshot, context.options.json);

    int code = kExitOk;
    if (snapshot.window == UpdateWindowState::NotReached) {
        std::cerr << "zevikctl: the update service at " << apiRoot << " was not reached\n";
        code = kExitFailed;
    }
    for (const UpdateListRow& row : snapshot.rows) {
        if (words.download && row.state == UpdateRowState::Failed) {
            std::cerr << "zevikctl: the download of " << row.displayName << " failed\n";
            code = kExitFailed;
        }
    }
    return FinishHeadlessRun(run, code);
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

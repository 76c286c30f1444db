#include "shell/update_command.h"

#include <json/json.h>
#include <unistd.h>

#include <chrono>
#include <string_view>

#include "settings/json_file_util.h"
#include "shell/headless_session.h"
#include "shell/main_wnd.h"
#include "shell/set_wnd.h"
#include "ui/control_ui.h"
#include "ui/paint_manager_ui.h"
#include "update/update_download_folder.h"
#include "update/update_server.h"

namespace zevik {

namespace {

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

// A button of the settings window clicked as the user does: only when it is shown and enabled.
bool ClickButton(CSetWnd& wnd, std::string_view name) {
    CControlUI* control = wnd.GetPaintManager()->FindControl(name);
    if (control == nullptr || !control->IsVisible() || !control->IsEnabled()) return false;
    return control->Activate();
}

std::string ApiRootOf(const UpdateCommand& command) { return ResolveUpdateApiRoot(command.server); }

}  // namespace

std::optional<UpdateCommand> ParseUpdateWords(const std::vector<std::string>& words, std::string& error) {
    UpdateCommand command;
    if (words.empty() || (words[0] != "check" && words[0] != "download")) {
        error = "update takes check or download";
        return std::nullopt;
    }
    command.download = words[0] == "download";
    for (std::size_t i = 1; i < words.size(); i += 2) {
        if (i + 1 >= words.size() || (words[i] != "--server" && words[i] != "--ca-file")) {
            error = "update " + words[0] + " takes --server URL and --ca-file FILE";
            return std::nullopt;
        }
        (words[i] == "--server" ? command.server : command.caFile) = words[i + 1];
    }
    if (!CheckUpdateCommand(command, error)) return std::nullopt;
    return command;
}

bool CheckUpdateCommand(const UpdateCommand& command, std::string& error) {
    if (!IsValidUpdateApiRoot(ApiRootOf(command))) {
        error = std::string(command.server ? "--server" : kUpdateServerVariable) +
                " must be an http:// or https:// address ending in \"/\"";
        return false;
    }
    const std::string caFile = ResolveUpdateCaFile(command.caFile);
    if (!caFile.empty() && ::access(caFile.c_str(), R_OK) != 0) {
        error = std::string(command.caFile ? "--ca-file " : "ZEVIK_UPDATE_CA_FILE ") + caFile + " cannot be read";
        return false;
    }
    return true;
}

void PrintUpdateRows(const UpdateSessionSnapshot& shown, std::ostream& out, bool json) {
    if (json) {
        Json::Value doc(Json::objectValue);
        doc["window"]["state"] = static_cast<int>(shown.window);
        doc["window"]["text"] = std::string(UpdateWindowTextKey(shown.window));
        doc["rows"] = Json::Value(Json::arrayValue);
        for (const UpdateListRow& row : shown.rows) doc["rows"].append(RowDocument(row));
        out << CJsonFileUtil::StyledText(doc);
        return;
    }
    for (const UpdateListRow& row : shown.rows) {
        out << row.displayName << '\t' << static_cast<int>(row.state) << '\t' << UpdateRowTextKey(row.state) << '\t'
            << row.currentText << '\t' << row.newText << '\t' << row.localFile.string() << '\n';
    }
    out << "window\t" << static_cast<int>(shown.window) << '\t' << UpdateWindowTextKey(shown.window) << '\n';
}

int RunUpdateCommand(CHeadlessSession& session, const UpdateCommand& command, std::ostream& out,
                     std::ostream& err, bool json) {
    const std::string apiRoot = ApiRootOf(command);
    ConfigureUpdateCaFile(ResolveUpdateCaFile(command.caFile));
    CMainWnd& window = session.Window();
    window.SetUpdateApiRoot(apiRoot);

    UpdateSessionSnapshot shown;
    {
        CSetWnd wnd(window.Languages(), window.GetLanguageIndex());
        UpdateSetup setup = window.MakeUpdateSetup();
        if (command.download && setup.options.downloadFolder.empty()) {
            std::string error;
            PrepareUpdateDownloadFolder(DefaultUpdateTempRoot(), error);
            err << "zevikctl: " << error << '\n';
            return 1;
        }
        // Nothing follows a download here, so there is no reason for the desktop's pause between them.
        setup.options.pauseAfterDownload = std::chrono::milliseconds(0);
        wnd.SetUpdateSetup(setup);
        if (!window.CreateSettingsWindow(wnd, false)) {
            err << "zevikctl: the settings window did not open: " << wnd.GetSkinError() << '\n';
            return 1;
        }
        // Every exchange and transfer ends at its own time-outs.
        constexpr auto kNoLimit = std::chrono::hours(24);
        CSetWndUpdate& update = wnd.Update();
        session.PumpUntil([&update] { return update.Shown().checkDone; }, kNoLimit);
        if (command.download && ClickButton(wnd, "update_fw_and_ap") && ClickButton(wnd, "update_OK_btn")) {
            session.PumpUntil([&update] { return !update.Shown().downloading; }, kNoLimit);
        }
        shown = update.Shown();
        ClickButton(wnd, "closebtn");
        session.PumpUntil([&wnd] { return wnd.GetHWND() == 0; }, std::chrono::seconds(5));
    }
    PrintUpdateRows(shown, out, json);

    int code = 0;
    if (shown.window == UpdateWindowState::NotReached) {
        err << "zevikctl: the update service at " << apiRoot << " was not reached\n";
        code = 1;
    }
    for (const UpdateListRow& row : shown.rows) {
        if (command.download && row.state == UpdateRowState::Failed) {
            err << "zevikctl: the download of " << row.displayName << " failed\n";
            code = 1;
        }
    }
    return code;
}

}  // namespace zevik

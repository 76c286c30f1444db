#include "settings/profile_command.h"

#include <charconv>
#include <ostream>

#include "settings/basic_profiledata.h"
#include "settings/json_file_util.h"
#include "settings/profile_store.h"

namespace zevik {

namespace fs = std::filesystem;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char* KindWord(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::Keyboard: return "keyboard";
        case ProfileKind::Mouse: return "mouse";
        case ProfileKind::MousePad: return "mousepad";
        case ProfileKind::Headset: return "headset";
    }
    return "mouse";
}

// Each run of the tool is a fresh start, so the list marks the profile the list records as
// selected: the one the next command (and the program) will open. Profiles are numbered from 1, as a
// user counts the rows of the list.
void PrintList(const CProfileStore& store, ProfileKind kind, bool asJson, std::ostream& out) {
    const auto& items = store.Items();
    const int selected = store.GetRecordedSelection();
    if (asJson) {
        Json::Value root(Json::objectValue);
        root["kind"] = KindWord(kind);
        root["selected"] = selected + 1;
        root["profiles"] = Json::Value(Json::arrayValue);
        for (std::size_t i = 0; i < items.size(); ++i) {
            Json::Value e(Json::objectValue);
            e["number"] = static_cast<int>(i) + 1;
            e["name"] = items[i].name;
            e["uuid"] = items[i].uuid;
            e["selected"] = static_cast<int>(i) == selected;
            root["profiles"].append(e);
        }
        out << CJsonFileUtil::StyledText(root);
        return;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        out << (static_cast<int>(i) == selected ? "* " : "  ") << i + 1 << "  " << items[i].name << "  "
            << items[i].uuid << '\n';
    }
}

int Report(const ProfileResult& result, std::ostream& err) {
    if (result.ok()) return kOk;
    err << "error: " << result.message << '\n';
    return kFailed;
}

}  // namespace

int RunProfileCommand(const ProfileCommandRequest& request, std::ostream& out, std::ostream& err) {
    const std::string& command = request.command;
    const bool needsArgument = command == "rename" || command == "select" || command == "import" || command == "export";
    const bool known = needsArgument || command == "list" || command == "add" || command == "copy" ||
                       command == "delete" || command == "reset" || command == "show";
    if (!known) {
        err << "error: unknown profile command \"" << command << "\"\n";
        return kUsage;
    }
    if (needsArgument && request.argument.empty() && command != "rename") {
        err << "error: \"" << command << "\" needs an argument\n";
        return kUsage;
    }

    const CProfileLocations locations(request.dataRoot, request.programFolder);
    std::string error;
    if (!locations.EnsureKindFolder(request.kind, &error)) {
        err << "error: " << error << '\n';
        return kFailed;
    }
    CProfileStore store(locations.KindFolder(request.kind), locations.DefaultFile(request.kind), PageKind(request.kind));
    if (const int code = Report(store.InitProfiles(), err); code != kOk) return code;

    ProfileResult result;
    if (command == "add") {
        result = store.AddProfile();
    } else if (command == "copy") {
        result = store.CopyProfile();
    } else if (command == "delete") {
        result = store.DeleteProfile();
    } else if (command == "rename") {
        result = store.RenameProfile(request.argument);
    } else if (command == "select") {
        int number = 0;
        const char* begin = request.argument.data();
        const char* end = begin + request.argument.size();
        const auto [ptr, ec] = std::from_chars(begin, end, number);
        const int count = static_cast<int>(store.Items().size());
        if (ec != std::errc() || ptr != end || number < 1 || number > count) {
            err << "error: select takes a profile number 1 to " << count << ", not \"" << request.argument
                << "\"\n";
            return kUsage;
        }
        result = store.SelectProfile(number - 1);
    } else if (command == "import") {
        result = store.ImportProfile(request.argument);
    } else if (command == "export") {
        result = store.ExportProfile(request.argument);
    } else if (command == "reset") {
        // The program forgets the colour choices of the colour picker along with the reset.
        std::error_code ec;
        fs::remove(locations.ColourChoicesFile(), ec);
        result = store.ResetProfile();
    } else if (command == "show") {
        // Loading seeds a profile file that lacks the device's settings, as the device does.
        CBasicProfiledata data;
        data.SetDefaultPath(locations.DefaultFile(request.kind));
        data.SetDeviceIndex(0);
        data.LoadProfile(store.GetSelectedProfilePath());
        if (!data.LastError().empty()) err << "warning: " << data.LastError() << '\n';
        const Json::Value document = CJsonFileUtil().ReadJsonFile(store.GetSelectedProfilePath());
        if (document.isNull()) {
            err << "error: cannot read " << store.GetSelectedProfilePath().string() << '\n';
            return kFailed;
        }
        out << CJsonFileUtil::StyledText(document);
        return kOk;
    }
    if (const int code = Report(result, err); code != kOk) return code;
    PrintList(store, request.kind, request.json, out);
    return kOk;
}

}  // namespace zevik

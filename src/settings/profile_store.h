#pragma once
// The profiles of one device kind: the list "ProfileList.ini" in the kind folder, one
// identifier.Json file per profile, and the operations of the profile bar (init, select, add,
// copy, delete, rename, import, export, reset), without any UI.
//
// The list on disk is the truth: every operation reads it again first and writes it back whole.
// Items() mirrors what the bar's combo box shows. Files are written before the list that names
// them and removed after the list that no longer does, so the list never points at a missing file
// because of a failed or interrupted operation.

#include <json/value.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/json_file_util.h"

namespace zevik {

struct ProfileEntry {
    std::string name;  // "profilename", shown in the combo box
    std::string uuid;  // "profileUUID", names the profile file
};

// The outcome of an operation. A refusal carries the language-text key the program shows for it
// (empty when the program shows nothing) and an English text for logs and the command line.
struct ProfileResult {
    enum class Status { Done, Refused, Failed };
    Status status = Status::Done;
    // RenameProfile's result: 1 renamed, 0 name taken or no list, 2 blank name. Others: 1 done, 0 not.
    int code = 1;
    std::string messageKey;
    std::string message;
    bool deviceMustReload = false;  // the selected profile changed or was reset: the device reloads it

    bool ok() const { return status == Status::Done; }
    static ProfileResult Done(bool deviceMustReload = false);
    static ProfileResult Refused(int code, std::string key, std::string text);
    static ProfileResult Failed(std::string text);
};

class CProfileStore {
public:
    static constexpr int kMaxProfiles = 50;
    static constexpr const char* kListFileName = "ProfileList.ini";
    static constexpr const char* kFirstProfileName = "Profile1";

    CProfileStore() = default;
    CProfileStore(std::filesystem::path kindFolder, std::filesystem::path defaultFile, int pageKind);

    void SetPageKind(int pageKind) { pageKind_ = pageKind; }
    int GetPageKind() const { return pageKind_; }
    void SetStorePaths(std::filesystem::path kindFolder, std::filesystem::path defaultFile);
    const std::filesystem::path& KindFolder() const { return kindFolder_; }
    std::filesystem::path ListPath() const { return kindFolder_ / kListFileName; }

    // Loads the list; a missing, damaged (moved aside as ".bad") or empty list is replaced by one
    // holding "Profile1" with a new profile file copied from the factory file. Then selects
    // "profileselect" (0 when outside the list).
    ProfileResult InitProfiles();
    // Selects item index and records it as "profileselect".
    ProfileResult SelectProfile(int index);

    const std::vector<ProfileEntry>& Items() const { return items_; }
    int GetSelectedIndex() const { return selected_; }
    // The selection the list records ("profileselect"): the profile the next start opens. It differs
    // from GetSelectedIndex() after AddProfile, which records the new profile but leaves the bar's
    // selection where it was. -1 when the list is empty.
    int GetRecordedSelection() const;
    std::string GetSelectedUUID() const;
    std::string GetSelectedName() const;
    // The number of profiles in the list on disk.
    int GetProfileCount() const;
    // The profiles the list on disk names, read without changing anything.
    std::vector<ProfileEntry> ListedProfiles() const;
    // kind folder / identifier.Json.
    std::filesystem::path ProfileFilePathOf(const std::string& uuid) const { return kindFolder_ / (uuid + ".Json"); }
    // kind folder / identifier.Json of item index; empty when there is no such item.
    std::filesystem::path GetProfileFilePath(int index) const;
    std::filesystem::path GetSelectedProfilePath() const { return GetProfileFilePath(selected_); }

    ProfileResult AddProfile();
    ProfileResult CopyProfile();
    ProfileResult DeleteProfile();
    ProfileResult RenameProfile(const std::string& name);
    ProfileResult ImportProfile(const std::filesystem::path& path);
    ProfileResult ExportProfile(const std::filesystem::path& path);
    ProfileResult ResetProfile();

private:
    // Reads the list from disk into list_ and items_, dropping entries that are not objects or
    // whose identifier is not a plain file name. status tells how the read went.
    void ReloadList(JsonReadStatus& status);
    void ReloadList();
    JsonWriteResult WriteList();
    std::vector<std::string> Names() const;
    std::string NewIdentifier() const;
    Json::Value FactoryDocument() const;
    // Writes document (with its name and identifier set) as the file of identifier.
    JsonWriteResult WriteProfileFile(Json::Value document, const std::string& name, const std::string& uuid);
    // Appends an entry to the list and writes it; on failure removes the new profile file again.
    ProfileResult AppendEntry(const std::string& name, const std::string& uuid, bool selectIt);
    ProfileResult NeedSelection() const;

    std::filesystem::path kindFolder_;
    std::filesystem::path defaultFile_;
    int pageKind_ = 0;
    std::string selectedUuid_;
    Json::Value list_;
    CJsonFileUtil files_;
    std::vector<ProfileEntry> items_;
    int selected_ = -1;
};

}  // namespace zevik

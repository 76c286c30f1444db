#include "settings/profile_store.h"

#include "settings/json_access.h"
#include "settings/profile_names.h"

namespace zevik {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLimitText = "At most 50 profiles can be kept for a device.";

// The usable entries of a list document: objects whose identifier is a plain file name. Entries
// of any other form are left out (and counted), so that nothing is ever read, written or deleted
// through them. clean is raw with "profilelist" reduced to those entries.
void ParseList(const Json::Value& raw, Json::Value& clean, std::vector<ProfileEntry>& items, int& dropped) {
    items.clear();
    dropped = 0;
    clean = raw.isObject() ? raw : Json::Value(Json::objectValue);
    Json::Value kept(Json::arrayValue);
    if (const Json::Value* list = json::Member(raw, "profilelist"); list != nullptr && list->isArray()) {
        for (const Json::Value& e : *list) {
            const std::string uuid = json::StringMember(e, "profileUUID");
            if (!e.isObject() || !profile_names::IsPlainIdentifier(uuid)) {
                ++dropped;
                continue;
            }
            items.push_back({json::StringMember(e, "profilename"), uuid});
            kept.append(e);
        }
    } else if (json::Member(raw, "profilelist") != nullptr) {
        ++dropped;
    }
    clean["profilelist"] = kept;
}

}  // namespace

ProfileResult ProfileResult::Done(bool deviceMustReload) {
    ProfileResult r;
    r.deviceMustReload = deviceMustReload;
    return r;
}

ProfileResult ProfileResult::Refused(int code, std::string key, std::string text) {
    ProfileResult r;
    r.status = Status::Refused;
    r.code = code;
    r.messageKey = std::move(key);
    r.message = std::move(text);
    return r;
}

ProfileResult ProfileResult::Failed(std::string text) {
    ProfileResult r;
    r.status = Status::Failed;
    r.code = 0;
    r.message = std::move(text);
    return r;
}

CProfileStore::CProfileStore(fs::path kindFolder, fs::path defaultFile, int pageKind)
    : kindFolder_(std::move(kindFolder)), defaultFile_(std::move(defaultFile)), pageKind_(pageKind) {}

void CProfileStore::SetStorePaths(fs::path kindFolder, fs::path defaultFile) {
    kindFolder_ = std::move(kindFolder);
    defaultFile_ = std::move(defaultFile);
}

void CProfileStore::ReloadList(JsonReadStatus& status) {
    const Json::Value raw = files_.ReadJsonFile(ListPath(), status);
    int dropped = 0;
    ParseList(raw, list_, items_, dropped);
    if (status == JsonReadStatus::Ok && (!raw.isObject() || dropped > 0)) status = JsonReadStatus::Invalid;
    if (selected_ >= static_cast<int>(items_.size())) selected_ = items_.empty() ? -1 : 0;
    if (selected_ >= 0) selectedUuid_ = items_[static_cast<std::size_t>(selected_)].uuid;
}

void CProfileStore::ReloadList() {
    JsonReadStatus status = JsonReadStatus::Ok;
    ReloadList(status);
}

JsonWriteResult CProfileStore::WriteList() { return files_.WriteJsonFile(ListPath(), list_); }

std::vector<std::string> CProfileStore::Names() const {
    std::vector<std::string> names;
    for (const ProfileEntry& e : items_) names.push_back(e.name);
    return names;
}

std::string CProfileStore::NewIdentifier() const {
    std::error_code ec;
    for (;;) {
        std::string id = CJsonFileUtil::MakeTimeStamp();
        if (!fs::exists(kindFolder_ / (id + ".Json"), ec)) return id;
    }
}

Json::Value CProfileStore::FactoryDocument() const {
    Json::Value document = files_.ReadJsonFile(defaultFile_);
    return document.isObject() ? document : Json::Value(Json::objectValue);
}

JsonWriteResult CProfileStore::WriteProfileFile(Json::Value document, const std::string& name,
                                                const std::string& uuid) {
    if (!document.isObject()) document = Json::Value(Json::objectValue);
    document["profilename"] = name;
    document["profileUUID"] = uuid;
    return files_.WriteJsonFile(kindFolder_ / (uuid + ".Json"), document);
}

ProfileResult CProfileStore::AppendEntry(const std::string& name, const std::string& uuid, bool selectIt) {
    Json::Value entry(Json::objectValue);
    entry["profilename"] = name;
    entry["profileUUID"] = uuid;
    entry["profileislink"] = 0;
    entry["profilelinkmame"] = "";
    const Json::Value before = list_;
    list_["profilelist"].append(entry);
    if (selectIt) list_["profileselect"] = static_cast<int>(items_.size());
    if (const JsonWriteResult written = WriteList(); !written) {
        list_ = before;
        std::error_code ec;
        fs::remove(kindFolder_ / (uuid + ".Json"), ec);
        return ProfileResult::Failed(written.message);
    }
    items_.push_back({name, uuid});
    return ProfileResult::Done();
}

ProfileResult CProfileStore::NeedSelection() const {
    return ProfileResult::Refused(0, "", "No profile is selected.");
}

std::string CProfileStore::GetSelectedUUID() const { return selected_ >= 0 ? selectedUuid_ : std::string(); }

std::string CProfileStore::GetSelectedName() const {
    return selected_ >= 0 && selected_ < static_cast<int>(items_.size()) ? items_[static_cast<std::size_t>(selected_)].name
                                                                         : std::string();
}

int CProfileStore::GetRecordedSelection() const {
    if (items_.empty()) return -1;
    const int recorded = json::IntMember(list_, "profileselect");
    return recorded >= 0 && recorded < static_cast<int>(items_.size()) ? recorded : 0;
}

std::vector<ProfileEntry> CProfileStore::ListedProfiles() const {
    Json::Value clean;
    std::vector<ProfileEntry> items;
    int dropped = 0;
    ParseList(files_.ReadJsonFile(ListPath()), clean, items, dropped);
    return items;
}

int CProfileStore::GetProfileCount() const { return static_cast<int>(ListedProfiles().size()); }

fs::path CProfileStore::GetProfileFilePath(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) return {};
    return kindFolder_ / (items_[static_cast<std::size_t>(index)].uuid + ".Json");
}

ProfileResult CProfileStore::InitProfiles() {
    if (kindFolder_.empty()) return ProfileResult::Failed("no profile folder is set");
    std::error_code ec;
    fs::create_directories(kindFolder_, ec);
    if (!fs::is_directory(kindFolder_, ec)) return ProfileResult::Failed("cannot create the folder " + kindFolder_.string());

    JsonReadStatus status = JsonReadStatus::Ok;
    ReloadList(status);
    if (status == JsonReadStatus::Invalid || status == JsonReadStatus::Unreadable) {
        // The list is rewritten below: keep the damaged original.
        if (CJsonFileUtil::MoveAside(ListPath()).empty()) {
            return ProfileResult::Failed("cannot move the damaged list " + ListPath().string() + " aside");
        }
    }
    if (items_.empty()) {
        const std::string uuid = NewIdentifier();
        if (const JsonWriteResult w = WriteProfileFile(FactoryDocument(), kFirstProfileName, uuid); !w) {
            return ProfileResult::Failed(w.message);
        }
        list_ = Json::Value(Json::objectValue);
        list_["profilelist"] = Json::Value(Json::arrayValue);
        if (ProfileResult r = AppendEntry(kFirstProfileName, uuid, true); !r.ok()) return r;
    } else if (status != JsonReadStatus::Ok) {
        if (const JsonWriteResult w = WriteList(); !w) return ProfileResult::Failed(w.message);
    }
    int select = json::IntMember(list_, "profileselect");
    if (select < 0 || select >= static_cast<int>(items_.size())) select = 0;
    return SelectProfile(select);
}

ProfileResult CProfileStore::SelectProfile(int index) {
    ReloadList();
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        return ProfileResult::Refused(0, "", "There is no profile number " + std::to_string(index) + ".");
    }
    selected_ = index;
    selectedUuid_ = items_[static_cast<std::size_t>(index)].uuid;
    // The list on disk already names it: nothing to write (every device connect selects again).
    if (const Json::Value& stored = list_["profileselect"]; stored.isInt() && stored.asInt() == index) {
        return ProfileResult::Done(true);
    }
    list_["profileselect"] = index;
    if (const JsonWriteResult w = WriteList(); !w) return ProfileResult::Failed(w.message);
    return ProfileResult::Done(true);
}

ProfileResult CProfileStore::AddProfile() {
    ReloadList();
    if (items_.size() >= kMaxProfiles) return ProfileResult::Refused(0, "", kLimitText);
    const std::string name = profile_names::NewProfileName(Names());
    const std::string uuid = NewIdentifier();
    if (const JsonWriteResult w = WriteProfileFile(FactoryDocument(), name, uuid); !w) {
        return ProfileResult::Failed(w.message);
    }
    // The list records the new profile as selected (it is the one the next start opens); the
    // bar's selection stays where it is.
    return AppendEntry(name, uuid, true);
}

ProfileResult CProfileStore::CopyProfile() {
    ReloadList();
    if (selected_ < 0) return NeedSelection();
    if (items_.size() >= kMaxProfiles) return ProfileResult::Refused(0, "", kLimitText);
    const ProfileEntry source = items_[static_cast<std::size_t>(selected_)];
    const std::string name = profile_names::CopyName(source.name, Names());
    const std::string uuid = NewIdentifier();
    const Json::Value document = files_.ReadJsonFile(GetProfileFilePath(selected_));
    if (const JsonWriteResult w = WriteProfileFile(document, name, uuid); !w) return ProfileResult::Failed(w.message);
    return AppendEntry(name, uuid, false);
}

ProfileResult CProfileStore::DeleteProfile() {
    ReloadList();
    if (selected_ < 0) return NeedSelection();
    if (items_.size() < 2) return ProfileResult::Refused(0, "", "The last profile cannot be deleted.");
    const int s = selected_;
    const int next = s > 0 ? s - 1 : 0;
    const fs::path removedFile = GetProfileFilePath(s);
    Json::Value removed;
    list_["profilelist"].removeIndex(static_cast<Json::ArrayIndex>(s), &removed);
    list_["profileselect"] = next;
    if (const JsonWriteResult w = WriteList(); !w) {
        ReloadList();
        return ProfileResult::Failed(w.message);
    }
    std::error_code ec;
    fs::remove(removedFile, ec);
    items_.erase(items_.begin() + s);
    selected_ = next;
    selectedUuid_ = items_[static_cast<std::size_t>(next)].uuid;
    return ProfileResult::Done(true);
}

ProfileResult CProfileStore::RenameProfile(const std::string& requested) {
    const std::string name = profile_names::Trim(requested);
    if (name.empty()) return ProfileResult::Refused(2, "message_text_25", "The profile name must not be blank.");
    ReloadList();
    if (selected_ < 0) return NeedSelection();
    for (int j = 0; j < static_cast<int>(items_.size()); ++j) {
        if (j != selected_ && profile_names::SameName(items_[static_cast<std::size_t>(j)].name, name)) {
            return ProfileResult::Refused(0, "message_text_5", "Another profile already has this name.");
        }
    }
    const fs::path file = GetProfileFilePath(selected_);
    JsonReadStatus status = JsonReadStatus::Ok;
    Json::Value document = files_.ReadJsonFile(file, status);
    if (status == JsonReadStatus::Unreadable) return ProfileResult::Failed("cannot read " + file.string());
    if (status == JsonReadStatus::Invalid || (status == JsonReadStatus::Ok && !document.isObject())) {
        if (CJsonFileUtil::MoveAside(file).empty()) return ProfileResult::Failed("cannot move " + file.string() + " aside");
        document = Json::Value(Json::objectValue);
    }
    if (const JsonWriteResult w = WriteProfileFile(document, name, selectedUuid_); !w) {
        return ProfileResult::Failed(w.message);
    }
    list_["profilelist"][static_cast<Json::ArrayIndex>(selected_)]["profilename"] = name;
    if (const JsonWriteResult w = WriteList(); !w) return ProfileResult::Failed(w.message);
    items_[static_cast<std::size_t>(selected_)].name = name;
    return ProfileResult::Done();
}

ProfileResult CProfileStore::ImportProfile(const fs::path& path) {
    JsonReadStatus status = JsonReadStatus::Ok;
    Json::Value document = files_.ReadJsonFile(path, status);
    switch (status) {
        case JsonReadStatus::Ok: break;
        case JsonReadStatus::Missing: return ProfileResult::Refused(0, "", "The file " + path.string() + " does not exist.");
        case JsonReadStatus::Unreadable:
            return ProfileResult::Refused(0, "", "The file " + path.string() + " cannot be read or is too large.");
        case JsonReadStatus::Invalid: return ProfileResult::Refused(0, "", "The file is not a profile.");
    }
    const Json::Value* devices = json::Member(document, "Device");
    if (json::Member(document, "profilename") == nullptr || json::Member(document, "profileUUID") == nullptr ||
        (devices != nullptr && !devices->isArray())) {
        return ProfileResult::Refused(0, "", "The file is not a profile.");
    }
    ReloadList();
    if (items_.size() >= kMaxProfiles) return ProfileResult::Refused(0, "", kLimitText);
    std::string title = CJsonFileUtil::GetFileTitle(path);
    if (profile_names::Trim(title).empty()) title = profile_names::NewProfileName(Names());
    const std::string name = profile_names::ImportName(title, Names());
    const std::string uuid = NewIdentifier();
    if (const JsonWriteResult w = WriteProfileFile(document, name, uuid); !w) return ProfileResult::Failed(w.message);
    return AppendEntry(name, uuid, false);
}

ProfileResult CProfileStore::ExportProfile(const fs::path& path) {
    ReloadList();
    if (selected_ < 0) return NeedSelection();
    const fs::path file = GetProfileFilePath(selected_);
    JsonReadStatus status = JsonReadStatus::Ok;
    const Json::Value document = files_.ReadJsonFile(file, status);
    if (status != JsonReadStatus::Ok) return ProfileResult::Failed("cannot read the selected profile " + file.string());
    if (const JsonWriteResult w = files_.WriteJsonFile(path, document); !w) return ProfileResult::Failed(w.message);
    return ProfileResult::Done();
}

ProfileResult CProfileStore::ResetProfile() {
    ReloadList();
    if (selected_ < 0) return NeedSelection();
    JsonReadStatus status = JsonReadStatus::Ok;
    Json::Value document = files_.ReadJsonFile(defaultFile_, status);
    if (status != JsonReadStatus::Ok || !document.isObject()) {
        return ProfileResult::Failed("cannot read the factory settings " + defaultFile_.string());
    }
    const fs::path file = GetProfileFilePath(selected_);
    if (pageKind_ == 7) {
        // The user's own equalisers survive a reset of the headset.
        const Json::Value current = files_.ReadJsonFile(file);
        const Json::Value* devices = json::Member(current, "Device");
        const Json::Value* element = devices ? json::Element(*devices, 0) : nullptr;
        for (const char* key : {"CustomEQNameInfo", "CustomEQHzValueInfo"}) {
            const Json::Value* kept = element ? json::Member(*element, key) : nullptr;
            if (kept == nullptr) continue;
            Json::Value& target = json::ArraySlot(json::ObjectSlot(document, "Device"), 0);
            json::ObjectSlot(target, key) = *kept;
        }
    }
    const ProfileEntry entry = items_[static_cast<std::size_t>(selected_)];
    if (const JsonWriteResult w = WriteProfileFile(document, entry.name, entry.uuid); !w) {
        return ProfileResult::Failed(w.message);
    }
    return ProfileResult::Done(true);
}

}  // namespace zevik

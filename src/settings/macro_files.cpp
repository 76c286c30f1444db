#include "settings/macro_files.h"

#include "platform/trace.h"
#include "settings/json_access.h"

namespace zevik {

namespace {

constexpr std::size_t kMaxFileNameBytes = 255;

}  // namespace

bool IsPlainMacroIdentifier(std::string_view identifier) {
    if (identifier.empty() || identifier == "." || identifier == "..") return false;
    if (identifier.size() + kMacroFileExtension.size() > kMaxFileNameBytes) return false;
    return identifier.find('/') == std::string_view::npos && identifier.find('\\') == std::string_view::npos &&
           identifier.find('\0') == std::string_view::npos;
}

std::vector<MacroListEntry> MacroListEntriesOf(const Json::Value& list) {
    std::vector<MacroListEntry> entries;
    const Json::Value* info = json::Member(list, "MacroInfo");
    if (info == nullptr || !info->isArray()) return entries;
    entries.reserve(info->size());
    for (const Json::Value& element : *info) {
        entries.push_back({json::StringMember(element, "MacroName"), json::StringMember(element, "Guid")});
    }
    return entries;
}

std::vector<MacroEvent> MacroEventsOf(const Json::Value& document) {
    std::vector<MacroEvent> events;
    const Json::Value* list = json::Member(document, "Events");
    if (list == nullptr || !list->isArray()) return events;
    events.reserve(list->size());
    for (const Json::Value& e : *list) events.push_back(MacroEventOf(e));
    return events;
}

std::optional<std::string> MacroDocumentProblem(const Json::Value& document) {
    if (!document.isObject()) return "not a JSON object";
    if (!json::IsArrayMember(document, "Events")) return "no \"Events\" array";
    return std::nullopt;
}

Json::Value MacroDocumentJson(const MacroDocument& document) {
    Json::Value out(Json::objectValue);
    out["MacroName"] = document.name;
    out["Guid"] = document.guid;
    Json::Value events(Json::arrayValue);
    for (const MacroEvent& e : document.events) events.append(MacroEventJson(e));
    out["Events"] = events;
    out["Version"] = kMacroDocumentVersion;
    return out;
}

CMacroFiles::CMacroFiles(std::filesystem::path kindFolder) : folder_(std::move(kindFolder)) {}

std::filesystem::path CMacroFiles::ListPath() const { return folder_ / std::string(kMacroListFileName); }

std::optional<std::filesystem::path> CMacroFiles::MacroPath(std::string_view identifier) const {
    if (!IsPlainMacroIdentifier(identifier)) return std::nullopt;
    return folder_ / (std::string(identifier) + std::string(kMacroFileExtension));
}

std::vector<MacroListEntry> CMacroFiles::ReadList() const {
    return MacroListEntriesOf(files_.ReadJsonFile(ListPath()));
}

void CMacroFiles::MoveAsideWhenDamaged(const std::filesystem::path& path, const char* arrayKey) {
    JsonReadStatus status = JsonReadStatus::Ok;
    const Json::Value old = CJsonFileUtil().ReadJsonFile(path, status);
    const bool damaged = status == JsonReadStatus::Invalid ||
                         (status == JsonReadStatus::Ok && (!old.isObject() || !json::IsArrayMember(old, arrayKey)));
    if (!damaged) return;
    const std::filesystem::path aside = CJsonFileUtil::MoveAside(path);
    Trace("damaged " + path.string() + " moved aside to " + aside.string());
}

JsonWriteResult CMacroFiles::WriteList(const std::vector<MacroListEntry>& entries) const {
    const std::filesystem::path path = ListPath();
    MoveAsideWhenDamaged(path, "MacroInfo");
    Json::Value document = files_.ReadJsonFile(path);
    if (!document.isObject()) document = Json::Value(Json::objectValue);
    Json::Value info(Json::arrayValue);
    for (const MacroListEntry& e : entries) {
        Json::Value element(Json::objectValue);
        element["MacroName"] = e.name;
        element["Guid"] = e.guid;
        info.append(element);
    }
    document["MacroInfo"] = info;
    return files_.WriteJsonFile(path, document);
}

MacroDocument CMacroFiles::ReadMacro(std::string_view identifier) const {
    MacroDocument out;
    const std::optional<std::filesystem::path> path = MacroPath(identifier);
    if (!path) return out;
    const Json::Value document = files_.ReadJsonFile(*path);
    out.name = json::StringMember(document, "MacroName");
    out.guid = json::StringMember(document, "Guid");
    out.events = MacroEventsOf(document);
    return out;
}

JsonWriteResult CMacroFiles::WriteMacro(const MacroDocument& document) const {
    const std::optional<std::filesystem::path> path = MacroPath(document.guid);
    if (!path) return {false, "the macro identifier \"" + document.guid + "\" is not a plain file name"};
    MoveAsideWhenDamaged(*path, "Events");
    return files_.WriteJsonFile(*path, MacroDocumentJson(document));
}

bool CMacroFiles::RemoveMacro(std::string_view identifier) const {
    const std::optional<std::filesystem::path> path = MacroPath(identifier);
    if (!path) return true;
    std::error_code ec;
    std::filesystem::remove(*path, ec);
    return !ec;
}

}  // namespace zevik

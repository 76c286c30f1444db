#include "settings/light_sequence_store.h"

#include <json/value.h>

#include <fstream>
#include <set>
#include <system_error>

#include "settings/json_access.h"
#include "settings/json_file_util.h"

namespace zevik {

namespace fs = std::filesystem;

namespace {

// The whole file, when it is a regular file no larger than the JSON reader takes.
std::optional<std::string> ReadBytes(const fs::path& path, std::string& error) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        error = path.string() + " is not a readable file";
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > CJsonFileUtil::kMaxFileSize) {
        error = path.string() + " is too large for a light file";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in || in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        error = "cannot read " + path.string();
        return std::nullopt;
    }
    return bytes;
}

// The configuration to change, or nothing (with the reason) when it must not be touched. A missing
// file gives an empty object; any part of the layout the import writes into that holds another
// type counts as damage, since writing over it would lose what the user has.
std::optional<Json::Value> ConfigToChange(const fs::path& path, std::string& error) {
    JsonReadStatus status = JsonReadStatus::Ok;
    Json::Value config = CJsonFileUtil().ReadJsonFile(path, status);
    if (status == JsonReadStatus::Missing) return Json::Value(Json::objectValue);
    if (status != JsonReadStatus::Ok || !config.isObject()) {
        error = path.string() + " is damaged or unreadable; it is left as it is";
        return std::nullopt;
    }
    const Json::Value* all = json::Member(config, "LightInfo");
    if (all == nullptr) return config;
    if (!all->isArray()) {
        error = path.string() + ": \"LightInfo\" is not an array; the file is left as it is";
        return std::nullopt;
    }
    for (int index : {CLightSequenceStore::kPlayerIndex, CLightSequenceStore::kMouseNamesIndex}) {
        const Json::Value* list = json::Element(*all, static_cast<Json::ArrayIndex>(index));
        if (list != nullptr && !list->isNull() && !list->isArray()) {
            error = path.string() + ": \"LightInfo\"[" + std::to_string(index) +
                    "] is not an array; the file is left as it is";
            return std::nullopt;
        }
    }
    return config;
}

Json::Value EmptyEntry() {
    Json::Value entry(Json::objectValue);
    entry["LightName"] = "";
    entry["Guid"] = "";
    return entry;
}

void PutEntry(Json::Value& config, int index, std::size_t position, const Json::Value& entry) {
    Json::Value& list = json::ArraySlot(json::ObjectSlot(config, "LightInfo"), static_cast<Json::ArrayIndex>(index));
    if (!list.isArray()) list = Json::Value(Json::arrayValue);
    while (list.size() < position) list.append(EmptyEntry());
    json::ArraySlot(list, static_cast<Json::ArrayIndex>(position)) = entry;
}

LightSequenceResult Failed(std::string message) {
    LightSequenceResult result;
    result.message = std::move(message);
    return result;
}

}  // namespace

CLightSequenceStore::CLightSequenceStore(fs::path kindFolder) : folder_(std::move(kindFolder)) {}

fs::path CLightSequenceStore::ConfigPath() const {
    return folder_ / std::string(kLightConfigFileName);
}

bool CLightSequenceStore::List(std::vector<ListedLightSequence>& out, std::string& error) const {
    out.clear();
    JsonReadStatus status = JsonReadStatus::Ok;
    const Json::Value config = CJsonFileUtil().ReadJsonFile(ConfigPath(), status);
    if (status == JsonReadStatus::Missing) return true;
    if (status != JsonReadStatus::Ok) {
        error = ConfigPath().string() + " is damaged or unreadable";
        return false;
    }
    const std::vector<LightSequenceEntry> played = LightSequenceEntries(config, kPlayerIndex);
    const std::vector<LightSequenceEntry> shown = LightSequenceEntries(config, kMouseNamesIndex);
    for (std::size_t i = 0; i < played.size(); ++i) {
        if (played[i].guid.empty()) continue;
        LightSequenceEntry entry = played[i];
        if (entry.name.empty() && i < shown.size()) entry.name = shown[i].name;
        out.push_back({i, entry});
    }
    return true;
}

LightSequenceResult CLightSequenceStore::Import(const fs::path& file, std::size_t position,
                                                const std::optional<std::string>& name) const {
    std::string error;
    const std::optional<std::string> bytes = ReadBytes(file, error);
    if (!bytes) return Failed(error);
    Json::Value document;
    if (!CJsonFileUtil::ParseJson(*bytes, document)) return Failed(file.string() + " is not a light file: not JSON");
    if (const std::optional<std::string> problem = LightFileProblem(document))
        return Failed(file.string() + " is not a light file: " + *problem);

    std::optional<Json::Value> config = ConfigToChange(ConfigPath(), error);
    if (!config) return Failed(error);

    std::set<std::string> inUse;
    for (int index : {kPlayerIndex, kMouseNamesIndex}) {
        for (const LightSequenceEntry& entry : LightSequenceEntries(*config, index)) inUse.insert(entry.guid);
    }
    std::string identifier;
    std::error_code ec;
    do {
        identifier = CJsonFileUtil::MakeTimeStamp();
    } while (inUse.count(identifier) != 0 || fs::exists(*LightFilePath(folder_, identifier), ec));

    std::error_code mkdirError;
    fs::create_directories(folder_, mkdirError);
    const fs::path lightPath = *LightFilePath(folder_, identifier);
    CJsonFileUtil files;
    if (const JsonWriteResult written = files.WriteTextFile(lightPath, *bytes); !written) return Failed(written.message);

    Json::Value entry(Json::objectValue);
    entry["LightName"] = name.value_or(CJsonFileUtil::GetFileTitle(file));
    entry["Guid"] = identifier;
    PutEntry(*config, kPlayerIndex, position, entry);
    PutEntry(*config, kMouseNamesIndex, position, entry);
    if (const JsonWriteResult written = files.WriteJsonFile(ConfigPath(), *config); !written) {
        fs::remove(lightPath, ec);  // nobody names it: the import leaves nothing behind
        return Failed(written.message);
    }
    LightSequenceResult result;
    result.ok = true;
    result.identifier = identifier;
    return result;
}

LightSequenceResult CLightSequenceStore::Export(std::size_t position, const fs::path& target) const {
    JsonReadStatus status = JsonReadStatus::Ok;
    const Json::Value config = CJsonFileUtil().ReadJsonFile(ConfigPath(), status);
    if (status != JsonReadStatus::Ok && status != JsonReadStatus::Missing)
        return Failed(ConfigPath().string() + " is damaged or unreadable");
    const std::vector<LightSequenceEntry> entries = LightSequenceEntries(config, kPlayerIndex);
    if (position >= entries.size() || entries[position].guid.empty())
        return Failed("no sequence at position " + std::to_string(position));
    const std::optional<fs::path> source = LightFilePath(folder_, entries[position].guid);
    if (!source) return Failed("the identifier at position " + std::to_string(position) + " is not a plain file name");
    std::string error;
    const std::optional<std::string> bytes = ReadBytes(*source, error);
    if (!bytes) return Failed("no sequence at position " + std::to_string(position) + ": " + error);
    Json::Value document;
    if (!CJsonFileUtil::ParseJson(*bytes, document) || LightFileProblem(document))
        return Failed(source->string() + " is damaged; nothing exported");
    if (const JsonWriteResult written = CJsonFileUtil().WriteTextFile(target, *bytes); !written)
        return Failed(written.message);
    LightSequenceResult result;
    result.ok = true;
    result.identifier = entries[position].guid;
    return result;
}

}  // namespace zevik

#include "settings/light_names_file.h"

#include <json/value.h>

#include "settings/json_access.h"
#include "settings/json_file_util.h"
#include "settings/light_files.h"

namespace zevik {

namespace {

// The array at document[section][k], or null when any step is missing or of another type.
const Json::Value* KindArray(const Json::Value& document, const char* section, int kindIndex) {
    if (kindIndex < 0) return nullptr;
    const Json::Value* all = json::Member(document, section);
    if (all == nullptr || !all->isArray()) return nullptr;
    const Json::Value* list = json::Element(*all, static_cast<Json::ArrayIndex>(kindIndex));
    return list != nullptr && list->isArray() ? list : nullptr;
}

std::vector<std::string> NamesOf(const Json::Value* list) {
    std::vector<std::string> names;
    if (list == nullptr) return names;
    for (const Json::Value& element : *list) names.push_back(json::StringMember(element, "LightName"));
    return names;
}

Json::Value ReadIfNamed(const std::filesystem::path& path) {
    return path.empty() ? Json::Value() : CJsonFileUtil().ReadJsonFile(path);
}

}  // namespace

LightNames ReadLightNames(const std::filesystem::path& defaultLightFile,
                          const std::filesystem::path& lightConfigFile, int kindIndex) {
    LightNames names;
    const Json::Value defaults = ReadIfNamed(defaultLightFile);
    if (const Json::Value* modes = KindArray(defaults, "DefaultLightName", kindIndex)) {
        for (const Json::Value& element : *modes) {
            LightModeName mode;
            mode.name = json::StringMember(element, "LightName");
            const Json::Value* value = json::Member(element, "value");
            if (value != nullptr && value->isIntegral() && !value->isBool()) {
                mode.value = json::AsInt(value, LightModeName::kNoValue);
            }
            const Json::Value* visible = json::Member(element, "visible");
            mode.visible = visible == nullptr || !visible->isBool() || visible->asBool();
            names.modes.push_back(std::move(mode));
        }
    }
    names.areas = NamesOf(KindArray(defaults, "AreaLightName", kindIndex));
    for (LightSequenceEntry& entry : LightSequenceEntries(ReadIfNamed(lightConfigFile), kindIndex)) {
        names.sequences.push_back(std::move(entry.name));
    }
    return names;
}

LightModeLists SplitLightModes(std::vector<LightModeName> modes) {
    LightModeLists lists;
    for (LightModeName& mode : modes) {
        lists.codes.push_back(mode.value);
        lists.names.push_back(std::move(mode.name));
        lists.visible.push_back(mode.visible);
    }
    return lists;
}

}  // namespace zevik

#include "settings/language_list.h"

#include "settings/json_file_util.h"

namespace zevik {

namespace {

std::string Text(const Json::Value& entry, const char* key) {
    const Json::Value& value = entry[key];
    return value.isString() ? value.asString() : std::string();
}

}  // namespace

std::vector<LanguageEntry> ReadLanguageList(const std::filesystem::path& programFolder) {
    const Json::Value document =
        CJsonFileUtil().ReadJsonFile(programFolder / "DefaultData" / "Language.config");
    std::vector<LanguageEntry> list;
    if (!document.isObject() || !document["Language"].isArray()) return list;
    for (const Json::Value& element : document["Language"]) {
        LanguageEntry entry;
        if (element.isObject()) {
            entry.id = element["Language_ID"].isInt() ? element["Language_ID"].asInt() : -1;
            entry.name = Text(element, "Language_name");
            entry.file = Text(element, "Language_file");
            entry.text = Text(element, "Language_text");
            if (element["Language_page_files"].isArray()) {
                for (const Json::Value& page : element["Language_page_files"]) {
                    if (page.isString()) entry.pageFiles.push_back(page.asString());
                }
            }
        }
        list.push_back(std::move(entry));
    }
    return list;
}

int LanguageIndexOfId(const std::vector<LanguageEntry>& list, int id) {
    int index = 0;
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        if (list[static_cast<std::size_t>(i)].id == id) index = i;
    }
    return index;
}

}  // namespace zevik

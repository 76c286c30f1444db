#include "shell/startup_language.h"

#include <json/json.h>

#include <cstdlib>
#include <fstream>
#include <pugixml.hpp>
#include <string>

#include "ui/resource_manager.h"

namespace zevik {

namespace {

// Adds the texts of a page's language file to the current table (loading would replace it).
void AddLanguageTexts(CResourceManager& resources, const std::filesystem::path& file) {
    pugi::xml_document doc;
    if (!doc.load_file(file.c_str())) return;
    for (pugi::xml_node text : doc.child("Language").children("Text")) {
        const char* id = text.attribute("id").value();
        if (*id == '\0') continue;
        pugi::xml_attribute value = text.attribute("value");
        resources.SetText(id, value ? value.value() : text.text().get());
    }
}

// The saved interface language ("LANGUAGE" in the settings file, a "Language_ID"), 0 when none.
int SavedLanguageId() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::filesystem::path folder = xdg != nullptr && *xdg != '\0' ? std::filesystem::path(xdg)
                                   : home != nullptr              ? std::filesystem::path(home) / ".config"
                                                                  : std::filesystem::path();
    std::ifstream in(folder / "ZEVIK-R300Prime" / "settings.json");
    Json::Value settings;
    if (!in || !Json::Reader().parse(in, settings) || !settings.isObject()) return 0;
    return settings["LANGUAGE"].isInt() ? settings["LANGUAGE"].asInt() : 0;
}

// Loads the language of the list "DefaultData/Language.config" whose id was saved (the last such
// entry; the first entry when none matches or the list is unreadable), with its pages' texts.
}  // namespace

void ApplyLanguage(CResourceManager& resources, const std::filesystem::path& exeDir) {
    std::ifstream in(exeDir / "DefaultData" / "Language.config");
    Json::Value list;
    Json::Value entry;
    if (in && Json::Reader().parse(in, list) && list["Language"].isArray() && !list["Language"].empty()) {
        const int saved = SavedLanguageId();
        entry = list["Language"][0];
        for (const Json::Value& candidate : list["Language"]) {
            if (candidate["Language_ID"].isInt() && candidate["Language_ID"].asInt() == saved)
                entry = candidate;
        }
    }
    const std::string name =
        entry["Language_name"].isString() ? entry["Language_name"].asString() : "English";
    const std::string file =
        entry["Language_file"].isString() ? entry["Language_file"].asString() : "lang/lan_main_en.xml";
    resources.SetLanguage(name);
    resources.LoadLanguage(file);
    const Json::Value pages =
        entry.isMember("Language_page_files") ? entry["Language_page_files"] : Json::Value(Json::arrayValue);
    for (const Json::Value& page : pages) {
        if (page.isString()) AddLanguageTexts(resources, exeDir / "skin" / page.asString());
    }
}

}  // namespace zevik

#include "shell/language_texts.h"

#include <cstdint>
#include <map>
#include <pugixml.hpp>
#include <string>

#include "ui/paint_manager_ui.h"
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

}  // namespace

void LoadLanguageTexts(CResourceManager& resources, const LanguageEntry& language) {
    // A table built from the same files before, and changed by no one since, is switched to as it
    // stands: one pass over the shown texts instead of three, and no file read.
    struct Built {
        std::string files;
        std::uint64_t stamp = 0;
    };
    static std::map<std::string, Built, std::less<>> built;  // by table name
    std::string files = language.file;
    for (const std::string& page : language.pageFiles) files += '\n' + page;
    if (const auto it = built.find(language.name);
        it != built.end() && it->second.files == files &&
        it->second.stamp == resources.LanguageStamp(language.name) && it->second.stamp != 0) {
        resources.SetLanguage(language.name);
        return;
    }
    resources.SetLanguage(language.name);
    resources.LoadLanguage(language.file);
    const std::filesystem::path skin(CPaintManagerUI::GetResourcePath());
    for (const std::string& page : language.pageFiles) AddLanguageTexts(resources, skin / page);
    built[language.name] = Built{files, resources.LanguageStamp(language.name)};
    resources.ReloadText();
}

}  // namespace zevik

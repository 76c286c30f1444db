#include "shell/language_texts.h"

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
    // A table built from the same files before is switched to as it stands: one pass over the
    // shown texts instead of three, and no file read.
    static std::map<std::string, std::string, std::less<>> builtFrom;  // table name -> its files
    std::string files = language.file;
    for (const std::string& page : language.pageFiles) files += '\n' + page;
    if (const auto it = builtFrom.find(language.name);
        it != builtFrom.end() && it->second == files && resources.HasLanguage(language.name)) {
        resources.SetLanguage(language.name);
        return;
    }
    builtFrom[language.name] = files;
    resources.SetLanguage(language.name);
    resources.LoadLanguage(language.file);
    const std::filesystem::path skin(CPaintManagerUI::GetResourcePath());
    for (const std::string& page : language.pageFiles) AddLanguageTexts(resources, skin / page);
    resources.ReloadText();
}

}  // namespace zevik

#include "shell/language_texts.h"

#include <pugixml.hpp>

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
    resources.SetLanguage(language.name);
    resources.LoadLanguage(language.file);
    const std::filesystem::path skin(CPaintManagerUI::GetResourcePath());
    for (const std::string& page : language.pageFiles) AddLanguageTexts(resources, skin / page);
    resources.ReloadText();
}

}  // namespace zevik

#pragma once
// Switches the UI library's text tables to a language of the list: its table name, its main file and
// the texts of its device pages' files added to the same table, then every shown text resolved
// again. Files are below the skin folder (the resource path).

#include "settings/language_list.h"

namespace zevik {

class CResourceManager;

void LoadLanguageTexts(CResourceManager& resources, const LanguageEntry& language);

}  // namespace zevik

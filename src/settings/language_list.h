#pragma once
// The interface languages the program offers: "DefaultData/Language.config" beside the program.
//
//   {"Language": [{"Language_ID": 0, "Language_name": "English", "Language_file": "lang/x.xml",
//                  "Language_page_files": ["mouse/y.xml"], "Language_text": "English"}, ...]}
//
// A language is addressed by its index in the list. A missing or unreadable file is an empty list;
// members of the wrong type read as absent (empty text, id -1).

#include <filesystem>
#include <string>
#include <vector>

namespace zevik {

struct LanguageEntry {
    int id = -1;                         // "Language_ID", what the settings file stores
    std::string name;                    // "Language_name", the resource manager's table name
    std::string file;                    // "Language_file", below the skin folder
    std::vector<std::string> pageFiles;  // "Language_page_files": device pages' texts, added to it
    std::string text;                    // "Language_text", shown in the language combo
};

std::vector<LanguageEntry> ReadLanguageList(const std::filesystem::path& programFolder);

// The index of the last entry with the id, 0 when none has it.
int LanguageIndexOfId(const std::vector<LanguageEntry>& list, int id);

}  // namespace zevik

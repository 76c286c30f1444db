#pragma once
// CAppSettings: the program's own settings file, "settings.json" in
// $XDG_CONFIG_HOME/ZEVIK-R300Prime/ (default ~/.config/ZEVIK-R300Prime/). It holds the interface
// language as "LANGUAGE": the "Language_ID" of the chosen entry of "Language.config".
//
// The file is created by the first save. A file that is not JSON is moved aside (".bad") before
// anything is written over it, and reads as no file. A member of the wrong type reads as absent.
// Writes are atomic and keep every member they do not change.

#include <filesystem>
#include <optional>

#include "settings/json_file_util.h"

namespace zevik {

class CAppSettings {
public:
    static constexpr const char* kFileName = "settings.json";
    static constexpr const char* kLanguageKey = "LANGUAGE";

    explicit CAppSettings(std::filesystem::path file = DefaultFile()) : m_file(std::move(file)) {}

    // $XDG_CONFIG_HOME (absolute only), else $HOME/.config, then the product folder and the file.
    static std::filesystem::path DefaultFile();
    const std::filesystem::path& File() const { return m_file; }

    struct SavedLanguage {
        bool fileRead = false;  // a readable JSON object was there
        std::optional<int> id;  // "LANGUAGE", when it is an integer
    };
    SavedLanguage ReadLanguage() const;

    // Stores the id; nothing is written when the file already holds it.
    JsonWriteResult WriteLanguage(int id) const;

private:
    // The document as stored; an object, empty when there is none. A damaged file is moved aside.
    Json::Value ReadDocument(bool& read) const;

    std::filesystem::path m_file;
};

}  // namespace zevik

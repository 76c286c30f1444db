#pragma once
// CResourceManager: the process-wide resource table ("res.xml": resource id -> skin file) and the
// language tables that turn text keys into the shown texts.
//
// Language files are XML:
//   <Language name="English">
//     <Text id="NeedUpdateText" value="A new version is available"/>
//     <Text id="multi_line_key">Text given as element content</Text>
//   </Language>
// Tables are kept per language name. LoadLanguage(file) fills the table of the current language;
// SetLanguage(name) makes another table current. A text that is a key of the current table shows the
// table's text; any other text shows as it is. SetLanguage, LoadLanguage and ReloadText resolve the
// texts of every control of every live paint manager again.
//
// Resource table files are XML; every element with "id" and "path" (or "file") attributes is an
// entry, whatever its tag and nesting:
//   <Resource><Res id="XML_MAIN" path="MainWnd.xml"/></Resource>
//
// A file that is missing or malformed changes nothing and yields false with GetLastError() set.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace zevik {

class CResourceManager {
public:
    static CResourceManager* GetInstance();

    // ---- resource table ----
    // Loads (adds to) the table from a file below the resource path. type is kept for the call's
    // shape and must be empty.
    bool LoadResource(std::string_view file, std::string_view type = {});
    // The file a resource id names, "" when unknown.
    std::string GetXmlPath(std::string_view id) const;
    void AddResource(std::string_view id, std::string_view path);

    // ---- language tables ----
    void SetLanguage(std::string_view name);
    std::string GetLanguage() const;
    bool LoadLanguage(std::string_view file);
    // Adds or replaces one text of the current language (for code-made tables and tests).
    void SetText(std::string_view key, std::string_view text);
    // The shown text for a text as given: the current language's text for a key, else the text.
    std::string ResolveText(std::string_view text) const;
    bool HasText(std::string_view key) const;
    // A stamp of the table of that language name, new with every change of its texts (a load, a
    // SetText); 0 when there is no such table. Lets a caller keep a table it built as long as no one
    // else changed it.
    std::uint64_t LanguageStamp(std::string_view name) const;
    void ReloadText();

    // Drops every table (the end of the program, and between tests).
    void Release();
    std::string GetLastError() const;

private:
    using Table = std::map<std::string, std::string, std::less<>>;

    mutable std::mutex m_mutex;
    Table m_resources;
    std::map<std::string, Table, std::less<>> m_languages;
    std::map<std::string, std::uint64_t, std::less<>> m_stamps;
    std::uint64_t m_lastStamp = 0;
    std::string m_language;
    std::string m_lastError;
};

}  // namespace zevik

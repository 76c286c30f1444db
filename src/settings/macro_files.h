#pragma once
// The macro files of a kind folder: the list "macro.config" ({"MacroInfo": [{"MacroName", "Guid"},
// ...]}, the position being the macro index in assignment codes) and one document per macro,
// Guid + ".mac" ({"MacroName", "Guid", "Events": [...], "Version": 64}).
//
// Reads never fail: a missing, unparsable or wrongly shaped file reads as empty, a member of the
// wrong type as absent. A damaged file is moved aside (".bad") before a new one is written in its
// place, so nothing the user had is destroyed. An identifier that is not a plain file name is
// never turned into a path.

#include <json/value.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/json_file_util.h"
#include "settings/macro_event.h"

namespace zevik {

inline constexpr std::string_view kMacroListFileName = "macro.config";
inline constexpr std::string_view kMacroFileExtension = ".mac";
inline constexpr int kMacroDocumentVersion = 64;

// One entry of "MacroInfo": empty strings where a member is missing or not text.
struct MacroListEntry {
    std::string name;  // "MacroName"
    std::string guid;  // "Guid"
    friend bool operator==(const MacroListEntry&, const MacroListEntry&) = default;
};

struct MacroDocument {
    std::string name;
    std::string guid;
    std::vector<MacroEvent> events;
};

// True when identifier can name a file in the kind folder (no separator, not "." or "..", no NUL,
// short enough for a file name with its extension).
bool IsPlainMacroIdentifier(std::string_view identifier);

// The entries of a parsed list; an element that is not an object keeps its position, empty.
std::vector<MacroListEntry> MacroListEntriesOf(const Json::Value& list);
// The events of a parsed macro document ("Events" missing or not an array: none).
std::vector<MacroEvent> MacroEventsOf(const Json::Value& document);
// Why a parsed document is not a macro document, or nothing: a JSON object whose "Events" is an
// array. Elements are read leniently, as the editor reads them.
std::optional<std::string> MacroDocumentProblem(const Json::Value& document);
// The document the program writes.
Json::Value MacroDocumentJson(const MacroDocument& document);

class CMacroFiles {
public:
    explicit CMacroFiles(std::filesystem::path kindFolder);

    const std::filesystem::path& KindFolder() const { return folder_; }
    std::filesystem::path ListPath() const;
    // folder / identifier + ".mac"; nothing when the identifier is not plain.
    std::optional<std::filesystem::path> MacroPath(std::string_view identifier) const;

    std::vector<MacroListEntry> ReadList() const;
    // Writes the list, keeping the file's other members; a damaged file is moved aside first.
    JsonWriteResult WriteList(const std::vector<MacroListEntry>& entries) const;

    // The macro's document; name and guid from the file, events empty when it is missing,
    // damaged, or the identifier is not plain.
    MacroDocument ReadMacro(std::string_view identifier) const;
    // Writes document as the file of document.guid (refused when it is not plain); a damaged file
    // in its place is moved aside first.
    JsonWriteResult WriteMacro(const MacroDocument& document) const;
    // Removes the macro's file; false only when it exists and could not be removed.
    bool RemoveMacro(std::string_view identifier) const;

private:
    // Moves the file at path aside when it exists and is not an object holding an array under
    // arrayKey; writing over it would lose what it held.
    static void MoveAsideWhenDamaged(const std::filesystem::path& path, const char* arrayKey);

    std::filesystem::path folder_;
    CJsonFileUtil files_;
};

}  // namespace zevik

#pragma once
// The macros of one kind folder as the macro page and the command line change them: add, import,
// rename, export, load and save a macro, and drop a macro's entry and file. The list on disk is the
// truth: every operation reads it again first and writes it back whole.
//
// Names compare with case ignored. Files are written before the list entry that names them, so a
// failed step never leaves the list pointing at a file that was not written.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/macro_files.h"

namespace zevik {

struct MacroStoreResult {
    enum class Status { Done, Refused, Failed };
    Status status = Status::Done;
    std::string message;     // English, for logs and the command line; empty when done
    std::string messageKey;  // the language-text key the page shows for a refusal, empty when none
    std::string name;        // the macro's name after add, import and rename
    std::string guid;        // its identifier
    int index = -1;          // its position in the list

    bool ok() const { return status == Status::Done; }
    explicit operator bool() const { return ok(); }
    static MacroStoreResult Refused(std::string message, std::string key = {});
    static MacroStoreResult Failed(std::string message);
};

class CMacroStore {
public:
    static constexpr int kMaxMacros = 50;
    // What RenameMacro reports for an empty name, as the page's caller expects it.
    static constexpr const char* kEmptyNameAnswer = "IsEmpty";

    explicit CMacroStore(std::filesystem::path kindFolder);

    const CMacroFiles& Files() const { return files_; }
    std::vector<MacroListEntry> Entries() const { return files_.ReadList(); }

    // A new macro "macro_N" (the first N no macro is named), without a file until it is saved.
    MacroStoreResult AddMacro() const;
    // A new macro named name, "_N" appended (N counting from 1) while the name is taken, so that
    // suffixes accumulate: Game, Game_1, Game_1_2.
    MacroStoreResult AddMacroNamed(const std::string& name) const;
    // A macro named after the file, its document copied byte for byte. A file that is not a macro
    // document is refused and nothing changes.
    MacroStoreResult ImportMacro(const std::filesystem::path& file) const;
    // Refused with "IsEmpty" as message for an empty name, with "message_text_5" for a name another
    // macro has. The ".mac" file keeps its old inner name until the next save.
    MacroStoreResult RenameMacro(int index, const std::string& name) const;
    // Copies the macro's file byte for byte to target.
    MacroStoreResult ExportMacro(int index, const std::filesystem::path& target) const;

    // The macro at index: name and identifier from the list, events from its file.
    MacroDocument LoadMacro(int index) const;
    // Writes the macro's file with these events (name and identifier from the list).
    MacroStoreResult SaveMacro(int index, const std::vector<MacroEvent>& events) const;
    // Removes the macro's file (when its identifier is plain) and its entry.
    MacroStoreResult RemoveMacro(int index) const;

private:
    std::string NewIdentifier(const std::vector<MacroListEntry>& entries) const;
    static bool NameTaken(const std::vector<MacroListEntry>& entries, const std::string& name, int except = -1);
    // Appends the entry and writes the list; text (when given) is first written as its file.
    MacroStoreResult Append(std::vector<MacroListEntry> entries, const std::string& name,
                            const std::string* fileText) const;
    MacroStoreResult NoSuchMacro(int index, std::size_t count) const;

    CMacroFiles files_;
    CJsonFileUtil json_;
};

}  // namespace zevik

#include "settings/macro_store.h"

#include <fstream>

#include "settings/name_fold.h"

namespace zevik {

namespace {

// The whole file, at most the size any document the program reads may have; false when it cannot
// be read.
bool ReadWhole(const std::filesystem::path& path, std::string& text) {
    std::optional<std::string> bytes = CJsonFileUtil::ReadFileBytes(path);
    if (!bytes) return false;
    text = std::move(*bytes);
    return true;
}

}  // namespace

MacroStoreResult MacroStoreResult::Refused(std::string message, std::string key) {
    MacroStoreResult r;
    r.status = Status::Refused;
    r.message = std::move(message);
    r.messageKey = std::move(key);
    return r;
}

MacroStoreResult MacroStoreResult::Failed(std::string message) {
    MacroStoreResult r;
    r.status = Status::Failed;
    r.message = std::move(message);
    return r;
}

CMacroStore::CMacroStore(std::filesystem::path kindFolder) : files_(std::move(kindFolder)) {}

bool CMacroStore::NameTaken(const std::vector<MacroListEntry>& entries, const std::string& name, int except) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (static_cast<int>(i) != except && SameNameIgnoringCase(entries[i].name, name)) return true;
    }
    return false;
}

std::string CMacroStore::NewIdentifier(const std::vector<MacroListEntry>& entries) const {
    for (;;) {
        const std::string id = CJsonFileUtil::MakeTimeStamp();
        bool used = false;
        for (const MacroListEntry& e : entries) used = used || e.guid == id;
        std::error_code ec;
        const auto path = files_.MacroPath(id);
        if (!used && path && !std::filesystem::exists(*path, ec)) return id;
    }
}

MacroStoreResult CMacroStore::NoSuchMacro(int index, std::size_t count) const {
    return MacroStoreResult::Refused("there is no macro " + std::to_string(index + 1) + " (the list holds " +
                   std::to_string(count) + ")");
}

MacroStoreResult CMacroStore::Append(std::vector<MacroListEntry> entries, const std::string& name,
                                     const std::string* fileText) const {
    if (entries.size() >= static_cast<std::size_t>(kMaxMacros)) {
        return MacroStoreResult::Refused("the list already holds " + std::to_string(kMaxMacros) + " macros");
    }
    const std::string guid = NewIdentifier(entries);
    const std::filesystem::path file = *files_.MacroPath(guid);
    if (fileText != nullptr) {
        const JsonWriteResult written = json_.WriteTextFile(file, *fileText);
        if (!written) return MacroStoreResult::Failed(written.message);
    }
    entries.push_back({name, guid});
    const JsonWriteResult listed = files_.WriteList(entries);
    if (!listed) {
        std::error_code ec;
        if (fileText != nullptr) std::filesystem::remove(file, ec);
        return MacroStoreResult::Failed(listed.message);
    }
    MacroStoreResult r;
    r.name = name;
    r.guid = guid;
    r.index = static_cast<int>(entries.size()) - 1;
    return r;
}

MacroStoreResult CMacroStore::AddMacro() const {
    const std::vector<MacroListEntry> entries = Entries();
    std::string name;
    for (int n = 1;; ++n) {
        name = "macro_" + std::to_string(n);
        if (!NameTaken(entries, name)) break;
    }
    return Append(entries, name, nullptr);
}

MacroStoreResult CMacroStore::AddMacroNamed(const std::string& name) const {
    const std::vector<MacroListEntry> entries = Entries();
    std::string candidate = name;
    for (int n = 1; NameTaken(entries, candidate); ++n) candidate += "_" + std::to_string(n);
    return Append(entries, candidate, nullptr);
}

MacroStoreResult CMacroStore::ImportMacro(const std::filesystem::path& file) const {
    std::string text;
    if (!ReadWhole(file, text)) return MacroStoreResult::Refused("cannot read " + file.string());
    Json::Value document;
    if (!CJsonFileUtil::ParseJson(text, document)) {
        return MacroStoreResult::Refused(file.string() + " is not a macro file: not JSON");
    }
    if (const auto problem = MacroDocumentProblem(document)) {
        return MacroStoreResult::Refused(file.string() + " is not a macro file: " + *problem);
    }
    const std::vector<MacroListEntry> entries = Entries();
    std::string candidate = CJsonFileUtil::GetFileTitle(file);
    for (int n = 1; NameTaken(entries, candidate); ++n) candidate += "_" + std::to_string(n);
    return Append(entries, candidate, &text);
}

MacroStoreResult CMacroStore::RenameMacro(int index, const std::string& name) const {
    std::vector<MacroListEntry> entries = Entries();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return NoSuchMacro(index, entries.size());
    if (name.empty()) return MacroStoreResult::Refused(kEmptyNameAnswer);
    if (NameTaken(entries, name, index)) {
        return MacroStoreResult::Refused("another macro is already named \"" + name + "\"", "message_text_5");
    }
    entries[static_cast<std::size_t>(index)].name = name;
    const JsonWriteResult written = files_.WriteList(entries);
    if (!written) return MacroStoreResult::Failed(written.message);
    MacroStoreResult r;
    r.name = name;
    r.guid = entries[static_cast<std::size_t>(index)].guid;
    r.index = index;
    return r;
}

MacroStoreResult CMacroStore::ExportMacro(int index, const std::filesystem::path& target) const {
    const std::vector<MacroListEntry> entries = Entries();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return NoSuchMacro(index, entries.size());
    if (target.empty()) return MacroStoreResult::Refused("no file to export to");
    const auto source = files_.MacroPath(entries[static_cast<std::size_t>(index)].guid);
    std::string text;
    if (!source || !ReadWhole(*source, text)) {
        return MacroStoreResult::Refused("macro " + std::to_string(index + 1) + " has no saved file to export");
    }
    const JsonWriteResult written = json_.WriteTextFile(target, text);
    if (!written) return MacroStoreResult::Failed(written.message);
    MacroStoreResult r;
    r.index = index;
    return r;
}

MacroDocument CMacroStore::LoadMacro(int index) const {
    const std::vector<MacroListEntry> entries = Entries();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
    const MacroListEntry& entry = entries[static_cast<std::size_t>(index)];
    MacroDocument document = files_.ReadMacro(entry.guid);
    document.name = entry.name;
    document.guid = entry.guid;
    return document;
}

MacroStoreResult CMacroStore::SaveMacro(int index, const std::vector<MacroEvent>& events) const {
    const std::vector<MacroListEntry> entries = Entries();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return NoSuchMacro(index, entries.size());
    const MacroListEntry& entry = entries[static_cast<std::size_t>(index)];
    if (!IsPlainMacroIdentifier(entry.guid)) {
        return MacroStoreResult::Refused("macro " + std::to_string(index + 1) +
                                         " has an identifier that is not a file name; it is not saved");
    }
    const JsonWriteResult written = files_.WriteMacro({entry.name, entry.guid, events});
    if (!written) return MacroStoreResult::Failed(written.message);
    MacroStoreResult r;
    r.index = index;
    r.name = entry.name;
    r.guid = entry.guid;
    return r;
}

MacroStoreResult CMacroStore::RemoveMacro(int index) const {
    std::vector<MacroListEntry> entries = Entries();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return NoSuchMacro(index, entries.size());
    const MacroListEntry removed = entries[static_cast<std::size_t>(index)];
    entries.erase(entries.begin() + index);
    // The list first: a file left behind by a failed removal is harmless, an entry without its file
    // would show an empty macro.
    const JsonWriteResult written = files_.WriteList(entries);
    if (!written) return MacroStoreResult::Failed(written.message);
    if (!files_.RemoveMacro(removed.guid)) {
        return MacroStoreResult::Failed("could not remove the file of macro \"" + removed.name + "\"");
    }
    MacroStoreResult r;
    r.name = removed.name;
    r.guid = removed.guid;
    r.index = index;
    return r;
}

}  // namespace zevik

#pragma once
// What must hold for any bytes given as "macro.config" or as a macro document, shared by the fuzz
// target and the corpus replay test: reading never crashes or throws, events are within their
// fields, a refused import changes nothing, a saved macro reads back as saved, and nothing is
// written outside the kind folder.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "settings/json_file_util.h"
#include "settings/macro_store.h"

namespace zevik::test {

inline std::string CheckMacroFilesInput(const std::filesystem::path& dir, std::string_view input) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) fs::remove_all(entry.path(), ec);
    const fs::path kind = dir / "kind";
    fs::create_directory(kind, ec);
    auto write = [](const fs::path& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    auto read = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    write(kind / "macro.config", input);
    for (const char* name : {"a.mac", "0.mac", "x.mac"}) write(kind / name, input);

    const CMacroStore store(kind);
    const std::vector<MacroListEntry> entries = store.Entries();
    for (std::size_t i = 0; i <= std::min<std::size_t>(entries.size(), 60); ++i) {
        const MacroDocument document = store.LoadMacro(static_cast<int>(i));
        for (const MacroEvent& e : document.events) {
            if (e.type > 0x7F) return "an event type beyond seven bits";
        }
    }
    Json::Value parsed;
    CJsonFileUtil::ParseJson(input, parsed);
    for (const MacroEvent& e : MacroEventsOf(parsed)) {
        if (e.type > 0x7F) return "an event type beyond seven bits";
    }

    // Saving the first macro: what is read back is what was saved.
    if (!entries.empty()) {
        const MacroDocument before = store.LoadMacro(0);
        if (store.SaveMacro(0, before.events).ok() && store.LoadMacro(0).events != before.events) {
            return "a saved macro reads back changed";
        }
    }

    // As a file to import: a refusal leaves the list's bytes; an import copies the bytes.
    write(dir / "import.mac", input);
    const std::string listBefore = read(kind / "macro.config");
    const MacroStoreResult imported = store.ImportMacro(dir / "import.mac");
    if (!imported.ok() && read(kind / "macro.config") != listBefore) return "a refused import changed the list";
    if (imported.ok() && read(kind / (imported.guid + ".mac")) != input) return "an import did not copy the bytes";

    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name != "kind" && name != "import.mac") return "a file was written outside the kind folder: " + name;
    }
    return {};
}

}  // namespace zevik::test

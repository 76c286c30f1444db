#pragma once
// The user's lighting sequences of one kind folder, for the command line: list them, import a light
// file at a mode-list position, export the file a position plays. The program itself only reads
// light files (light_files.h); on Linux no installer places them, so they come in this way.
//
// An import copies the file byte for byte to the kind folder as ID + ".light" (ID a fresh time stamp
// of the profile store's format, none already in use) and enters {"LightName", "Guid": ID} at
// "LightInfo"[0][position] (the entry the player reads) and "LightInfo"[1][position] (the names the
// mouse's list shows) of "velda_light.config", created when missing. Every write is atomic; a failed
// import leaves both files as they were, and a damaged configuration is never rewritten.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/light_files.h"

namespace zevik {

struct LightSequenceResult {
    bool ok = false;
    std::string message;     // why it failed (English, names the file); empty when done
    std::string identifier;  // the new identifier of an import
    explicit operator bool() const { return ok; }
};

// One listed sequence: its position in the list and its entry.
struct ListedLightSequence {
    std::size_t position = 0;
    LightSequenceEntry entry;
};

class CLightSequenceStore {
public:
    // The configuration's array that the player reads and the one whose names the mouse shows.
    static constexpr int kPlayerIndex = 0;
    static constexpr int kMouseNamesIndex = 1;

    explicit CLightSequenceStore(std::filesystem::path kindFolder);

    std::filesystem::path ConfigPath() const;

    // The entries of "LightInfo"[kPlayerIndex] that name a sequence (a non-empty "Guid"), with the
    // name of the same position in "LightInfo"[kMouseNamesIndex] when the player's entry has none.
    // False with the message when the configuration exists but is damaged or unreadable.
    bool List(std::vector<ListedLightSequence>& out, std::string& error) const;

    // name: the list name; the file's stem when none is given.
    LightSequenceResult Import(const std::filesystem::path& file, std::size_t position,
                               const std::optional<std::string>& name) const;
    // Copies the light file of "LightInfo"[kPlayerIndex][position] byte for byte to target.
    LightSequenceResult Export(std::size_t position, const std::filesystem::path& target) const;

private:
    std::filesystem::path folder_;
};

}  // namespace zevik

#pragma once
// Where profiles and factory files live: the data root with one folder per device kind, and the
// "DefaultData" folder beside the program. Both are injectable (tests, zevikctl --data-dir).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zevik {

// The device kinds that keep profiles. The catalogue index is the position of the kind in the
// light files' per-kind arrays.
enum class ProfileKind { Keyboard = 0, Mouse = 1, MousePad = 2, Headset = 3 };

// "keyboard", "mouse", "MousePad", "HD": the folder and factory file name of the kind.
std::string_view KindName(ProfileKind kind);
// The page kind that chooses option tabs and lighting tables: keyboard 1, mouse 2, mousepad 3,
// headset 7.
int PageKind(ProfileKind kind);
// The kind for a command-line word: "keyboard", "mouse", "mousepad", "headset" (any case) or a
// kind name; nothing for anything else.
std::optional<ProfileKind> ParseProfileKind(std::string_view word);

class CProfileLocations {
public:
    static constexpr std::string_view kProductName = "ZEVIK-R300Prime";

    // The defaults: DefaultDataRoot() and DefaultProgramFolder().
    CProfileLocations();
    // Explicit folders; an empty argument takes the default.
    CProfileLocations(std::filesystem::path dataRoot, std::filesystem::path programFolder);

    // $XDG_DATA_HOME/ZEVIK-R300Prime, or ~/.local/share/ZEVIK-R300Prime (an absolute
    // XDG_DATA_HOME only, as the base directory rules ask).
    static std::filesystem::path DefaultDataRoot();
    // The folder of the running executable; the current folder when it cannot be found.
    static std::filesystem::path DefaultProgramFolder();

    const std::filesystem::path& DataRoot() const { return dataRoot_; }
    const std::filesystem::path& ProgramFolder() const { return programFolder_; }

    std::filesystem::path KindFolder(ProfileKind kind) const;     // data root / kind name
    std::filesystem::path DefaultFile(ProfileKind kind) const;    // program / DefaultData / kind name.Json
    std::filesystem::path DefaultLightFile() const;               // program / DefaultData / default_light.json
    std::filesystem::path ColourChoicesFile() const;              // data root / color_option_info.config
    std::filesystem::path DefaultColourChoicesFile()
        const;  // program / DefaultData / color_option_info.config

    // Creates the data root and the kind folder when missing; false when that fails.
    bool EnsureKindFolder(ProfileKind kind, std::string* error = nullptr) const;

private:
    std::filesystem::path dataRoot_;
    std::filesystem::path programFolder_;
};

}  // namespace zevik

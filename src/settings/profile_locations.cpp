#include "settings/profile_locations.h"

#include <unistd.h>

#include <cstdlib>

namespace zevik {

namespace fs = std::filesystem;

std::string_view KindName(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::Keyboard: return "keyboard";
        case ProfileKind::Mouse: return "mouse";
        case ProfileKind::MousePad: return "MousePad";
        case ProfileKind::Headset: return "HD";
    }
    return "mouse";
}

int PageKind(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::Keyboard: return 1;
        case ProfileKind::Mouse: return 2;
        case ProfileKind::MousePad: return 3;
        case ProfileKind::Headset: return 7;
    }
    return 2;
}

std::optional<ProfileKind> ParseProfileKind(std::string_view word) {
    std::string lower(word);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (lower == "keyboard") return ProfileKind::Keyboard;
    if (lower == "mouse") return ProfileKind::Mouse;
    if (lower == "mousepad") return ProfileKind::MousePad;
    if (lower == "headset" || lower == "hd") return ProfileKind::Headset;
    return std::nullopt;
}

CProfileLocations::CProfileLocations() : CProfileLocations({}, {}) {}

CProfileLocations::CProfileLocations(fs::path dataRoot, fs::path programFolder)
    : dataRoot_(dataRoot.empty() ? DefaultDataRoot() : std::move(dataRoot)),
      programFolder_(programFolder.empty() ? DefaultProgramFolder() : std::move(programFolder)) {}

fs::path CProfileLocations::DefaultDataRoot() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return fs::path(xdg) / kProductName;
    const char* home = std::getenv("HOME");
    const fs::path base = (home != nullptr && home[0] != '\0') ? fs::path(home) : fs::current_path();
    return base / ".local" / "share" / kProductName;
}

fs::path CProfileLocations::DefaultProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && exe.has_parent_path()) return exe.parent_path();
    return fs::current_path(ec);
}

fs::path CProfileLocations::KindFolder(ProfileKind kind) const { return dataRoot_ / std::string(KindName(kind)); }

fs::path CProfileLocations::DefaultFile(ProfileKind kind) const {
    return programFolder_ / "DefaultData" / (std::string(KindName(kind)) + ".Json");
}

fs::path CProfileLocations::DefaultLightFile() const { return programFolder_ / "DefaultData" / "default_light.json"; }

fs::path CProfileLocations::ColourChoicesFile() const { return dataRoot_ / "color_option_info.config"; }

fs::path CProfileLocations::DefaultColourChoicesFile() const {
    return programFolder_ / "DefaultData" / "color_option_info.config";
}

bool CProfileLocations::EnsureKindFolder(ProfileKind kind, std::string* error) const {
    std::error_code ec;
    const fs::path folder = KindFolder(kind);
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        if (error != nullptr) *error = "cannot create the folder " + folder.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace zevik

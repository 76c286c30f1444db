#include "platform/desktop_settings.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>

#include "platform/detached_launch.h"

namespace zevik {
namespace {

// A program and the argument that opens the page (empty: the program is the page).
struct SettingsCommand {
    std::string_view program;
    std::string_view arg;
};

struct DesktopEntry {
    std::string_view name;  // as listed in XDG_CURRENT_DESKTOP
    // In order of preference.
    std::span<const SettingsCommand> keyboard;
    std::span<const SettingsCommand> mouse;
};

constexpr std::array kGnomeKeyboard{SettingsCommand{"gnome-control-center", "keyboard"}};
constexpr std::array kGnomeMouse{SettingsCommand{"gnome-control-center", "mouse"}};
// Budgie's control centre is a fork of GNOME's with the same panel names; Budgie releases before the
// fork use GNOME's own.
constexpr std::array kBudgieKeyboard{SettingsCommand{"budgie-control-center", "keyboard"},
                                     SettingsCommand{"gnome-control-center", "keyboard"}};
constexpr std::array kBudgieMouse{SettingsCommand{"budgie-control-center", "mouse"},
                                  SettingsCommand{"gnome-control-center", "mouse"}};
constexpr std::array kCinnamonKeyboard{SettingsCommand{"cinnamon-settings", "keyboard"}};
constexpr std::array kCinnamonMouse{SettingsCommand{"cinnamon-settings", "mouse"}};
// kcmshell shows the module alone; it is what a Plasma install without System Settings has.
constexpr std::array kKdeKeyboard{SettingsCommand{"systemsettings", "kcm_keyboard"},
                                  SettingsCommand{"kcmshell6", "kcm_keyboard"},
                                  SettingsCommand{"kcmshell5", "kcm_keyboard"}};
constexpr std::array kKdeMouse{SettingsCommand{"systemsettings", "kcm_mouse"},
                               SettingsCommand{"kcmshell6", "kcm_mouse"},
                               SettingsCommand{"kcmshell5", "kcm_mouse"}};
constexpr std::array kXfceKeyboard{SettingsCommand{"xfce4-keyboard-settings", ""}};
constexpr std::array kXfceMouse{SettingsCommand{"xfce4-mouse-settings", ""}};
// One window for keyboard, mouse and touchpad.
constexpr std::array kLxqtInput{SettingsCommand{"lxqt-config-input", ""}};
constexpr std::array kLxdeInput{SettingsCommand{"lxinput", ""}};
constexpr std::array kMateKeyboard{SettingsCommand{"mate-keyboard-properties", ""}};
constexpr std::array kMateMouse{SettingsCommand{"mate-mouse-properties", ""}};

constexpr std::array kDesktops{
    DesktopEntry{"GNOME", kGnomeKeyboard, kGnomeMouse},
    DesktopEntry{"GNOME-Classic", kGnomeKeyboard, kGnomeMouse},
    DesktopEntry{"GNOME-Flashback", kGnomeKeyboard, kGnomeMouse},
    DesktopEntry{"Unity", kGnomeKeyboard, kGnomeMouse},
    DesktopEntry{"Budgie", kBudgieKeyboard, kBudgieMouse},
    DesktopEntry{"X-Cinnamon", kCinnamonKeyboard, kCinnamonMouse},
    DesktopEntry{"Cinnamon", kCinnamonKeyboard, kCinnamonMouse},
    DesktopEntry{"KDE", kKdeKeyboard, kKdeMouse},
    DesktopEntry{"XFCE", kXfceKeyboard, kXfceMouse},
    DesktopEntry{"LXQt", kLxqtInput, kLxqtInput},
    DesktopEntry{"LXDE", kLxdeInput, kLxdeInput},
    DesktopEntry{"MATE", kMateKeyboard, kMateMouse},
};

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

const DesktopEntry* FindDesktop(std::string_view name) {
    const auto found = std::find_if(kDesktops.begin(), kDesktops.end(),
                                    [name](const DesktopEntry& entry) { return SameName(entry.name, name); });
    return found == kDesktops.end() ? nullptr : &*found;
}

}  // namespace

std::optional<std::vector<std::string>> DesktopSettingsCommand(DesktopSettingsPage page,
                                                               std::string_view currentDesktop,
                                                               const ProgramFinder& findProgram) {
    while (true) {
        const size_t colon = currentDesktop.find(':');
        if (const DesktopEntry* desktop = FindDesktop(currentDesktop.substr(0, colon))) {
            const auto commands = page == DesktopSettingsPage::Keyboard ? desktop->keyboard : desktop->mouse;
            for (const SettingsCommand& command : commands) {
                std::optional<std::string> path = findProgram(command.program);
                if (!path) continue;
                std::vector<std::string> argv{std::move(*path)};
                if (!command.arg.empty()) argv.emplace_back(command.arg);
                return argv;
            }
        }
        if (colon == std::string_view::npos) return std::nullopt;
        currentDesktop.remove_prefix(colon + 1);
    }
}

std::optional<std::vector<std::string>> DesktopSettingsCommand(DesktopSettingsPage page) {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    const char* path = std::getenv("PATH");
    const std::string searchPath = path != nullptr ? path : "/bin:/usr/bin";
    return DesktopSettingsCommand(
        page, desktop != nullptr ? desktop : "",
        [&searchPath](std::string_view program) { return FindProgramOnPath(program, searchPath); });
}

}  // namespace zevik

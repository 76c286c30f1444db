#include "platform/desktop_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform_test_support.h"

namespace zevik {
namespace {

using Argv = std::vector<std::string>;
constexpr auto kKeyboard = DesktopSettingsPage::Keyboard;
constexpr auto kMouse = DesktopSettingsPage::Mouse;

struct Case {
    const char* desktop;              // XDG_CURRENT_DESKTOP
    std::set<std::string> installed;  // programs the finder knows
    DesktopSettingsPage page;
    std::optional<Argv> expected;  // argv[0] is "/bin/<program>"
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << '"' << c.desktop << "\" " << (c.page == kMouse ? "mouse" : "keyboard") << " with "
        << c.installed.size() << " programs";
}

// Finds the installed programs in "/bin".
ProgramFinder FakeFinder(const std::set<std::string>& installed) {
    return [installed](std::string_view program) -> std::optional<std::string> {
        if (installed.count(std::string(program)) == 0) return std::nullopt;
        return "/bin/" + std::string(program);
    };
}

class DesktopSettingsTable : public testing::TestWithParam<Case> {};

TEST_P(DesktopSettingsTable, CommandForDesktopAndInstalledPrograms) {
    const Case& c = GetParam();
    EXPECT_EQ(DesktopSettingsCommand(c.page, c.desktop, FakeFinder(c.installed)), c.expected);
}

const std::set<std::string> kEverything{"gnome-control-center",
                                        "budgie-control-center",
                                        "cinnamon-settings",
                                        "systemsettings",
                                        "kcmshell6",
                                        "kcmshell5",
                                        "xfce4-mouse-settings",
                                        "xfce4-keyboard-settings",
                                        "lxqt-config-input",
                                        "lxinput",
                                        "mate-mouse-properties",
                                        "mate-keyboard-properties"};

INSTANTIATE_TEST_SUITE_P(
    Desktops, DesktopSettingsTable,
    testing::Values(
        Case{"GNOME", {"gnome-control-center"}, kMouse, Argv{"/bin/gnome-control-center", "mouse"}},
        Case{"GNOME", {"gnome-control-center"}, kKeyboard, Argv{"/bin/gnome-control-center", "keyboard"}},
        // Distributions put their own name first.
        Case{"ubuntu:GNOME", {"gnome-control-center"}, kMouse, Argv{"/bin/gnome-control-center", "mouse"}},
        Case{"Unity", {"gnome-control-center"}, kKeyboard, Argv{"/bin/gnome-control-center", "keyboard"}},
        Case{"GNOME-Flashback:GNOME",
             {"gnome-control-center"},
             kMouse,
             Argv{"/bin/gnome-control-center", "mouse"}},
        Case{"Budgie:GNOME", kEverything, kMouse, Argv{"/bin/budgie-control-center", "mouse"}},
        Case{"Budgie:GNOME",
             {"gnome-control-center"},
             kKeyboard,
             Argv{"/bin/gnome-control-center", "keyboard"}},
        Case{"X-Cinnamon", kEverything, kMouse, Argv{"/bin/cinnamon-settings", "mouse"}},
        Case{"X-Cinnamon", kEverything, kKeyboard, Argv{"/bin/cinnamon-settings", "keyboard"}},
        Case{"KDE", kEverything, kMouse, Argv{"/bin/systemsettings", "kcm_mouse"}},
        Case{"KDE", kEverything, kKeyboard, Argv{"/bin/systemsettings", "kcm_keyboard"}},
        Case{"KDE", {"kcmshell6", "kcmshell5"}, kMouse, Argv{"/bin/kcmshell6", "kcm_mouse"}},
        Case{"KDE", {"kcmshell5"}, kKeyboard, Argv{"/bin/kcmshell5", "kcm_keyboard"}},
        Case{"XFCE", kEverything, kMouse, Argv{"/bin/xfce4-mouse-settings"}},
        Case{"XFCE", kEverything, kKeyboard, Argv{"/bin/xfce4-keyboard-settings"}},
        Case{"LXQt", kEverything, kMouse, Argv{"/bin/lxqt-config-input"}},
        Case{"LXQt", kEverything, kKeyboard, Argv{"/bin/lxqt-config-input"}},
        Case{"LXDE", kEverything, kMouse, Argv{"/bin/lxinput"}},
        Case{"MATE", kEverything, kMouse, Argv{"/bin/mate-mouse-properties"}},
        Case{"MATE", kEverything, kKeyboard, Argv{"/bin/mate-keyboard-properties"}},
        // Names are compared without regard to case.
        Case{"kde", {"systemsettings"}, kMouse, Argv{"/bin/systemsettings", "kcm_mouse"}},
        Case{"xfce", {"xfce4-mouse-settings"}, kMouse, Argv{"/bin/xfce4-mouse-settings"}},
        // An unknown desktop, or a known one without its program, gives way to the next listed one.
        Case{"Pantheon:GNOME", {"gnome-control-center"}, kMouse, Argv{"/bin/gnome-control-center", "mouse"}},
        Case{"XFCE:GNOME", {"gnome-control-center"}, kMouse, Argv{"/bin/gnome-control-center", "mouse"}},
        Case{"Budgie:GNOME", {}, kMouse, std::nullopt},
        // Only the desktop's own program counts, even when another desktop's is installed.
        Case{"KDE", {"gnome-control-center", "xfce4-mouse-settings"}, kMouse, std::nullopt},
        Case{"XFCE", {"xfce4-keyboard-settings"}, kMouse, std::nullopt},
        Case{"GNOME", {}, kMouse, std::nullopt}, Case{"Enlightenment", kEverything, kMouse, std::nullopt},
        Case{"", kEverything, kKeyboard, std::nullopt}, Case{":", kEverything, kKeyboard, std::nullopt},
        // A prefix or suffix of a known name is another desktop.
        Case{"KDEX", kEverything, kMouse, std::nullopt}, Case{"GNOM", kEverything, kMouse, std::nullopt}));

TEST(DesktopSettings, SessionUsesDesktopAndPathOfTheEnvironment) {
    test::TempDir dir;
    dir.File("bin/xfce4-mouse-settings", "", 0755);
    const std::string bin = (dir.Path() / "bin").string();
    const char* oldDesktop = std::getenv("XDG_CURRENT_DESKTOP");
    const char* oldPath = std::getenv("PATH");
    const std::string savedDesktop = oldDesktop ? oldDesktop : "";
    const std::string savedPath = oldPath ? oldPath : "";

    setenv("XDG_CURRENT_DESKTOP", "XFCE", 1);
    setenv("PATH", ("/nonexistent:" + bin).c_str(), 1);
    const auto mouse = DesktopSettingsCommand(kMouse);
    const auto keyboard = DesktopSettingsCommand(kKeyboard);
    unsetenv("XDG_CURRENT_DESKTOP");
    const auto noDesktop = DesktopSettingsCommand(kMouse);

    if (oldDesktop) setenv("XDG_CURRENT_DESKTOP", savedDesktop.c_str(), 1);
    if (oldPath)
        setenv("PATH", savedPath.c_str(), 1);
    else
        unsetenv("PATH");

    EXPECT_EQ(mouse, (Argv{bin + "/xfce4-mouse-settings"}));
    EXPECT_EQ(keyboard, std::nullopt);
    EXPECT_EQ(noDesktop, std::nullopt);
}

}  // namespace
}  // namespace zevik

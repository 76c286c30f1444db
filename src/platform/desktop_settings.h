#pragma once
// Which program opens the desktop's own keyboard or mouse settings. The device pages offer buttons
// for them only when this finds one.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevik {

enum class DesktopSettingsPage { Keyboard, Mouse };

// The absolute path of the named program if it is installed, else nothing.
using ProgramFinder = std::function<std::optional<std::string>(std::string_view program)>;

// The command (argv, argv[0] the path findProgram gave) that opens page in the settings of the
// desktop named by currentDesktop, a value of XDG_CURRENT_DESKTOP: a colon-separated list, most
// specific first, compared without regard to case. The first listed desktop with an installed
// settings program wins. Nothing when no listed desktop is known or none of its programs is found.
std::optional<std::vector<std::string>> DesktopSettingsCommand(DesktopSettingsPage page,
                                                               std::string_view currentDesktop,
                                                               const ProgramFinder& findProgram);

// The same for this session: XDG_CURRENT_DESKTOP, and programs searched on PATH ("/bin:/usr/bin"
// when PATH is unset, as the C library does).
std::optional<std::vector<std::string>> DesktopSettingsCommand(DesktopSettingsPage page);

}  // namespace zevik

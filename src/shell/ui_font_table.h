#pragma once
// The main window's font table: one face for every language, a default size and the fonts the skins
// of the main window and its device pages name by id. Built whole at every language switch, so no
// font of before is left behind.

#include <string_view>

namespace zevik {

class CPaintManagerUI;

// The face the program ships in its "Font" folder.
inline constexpr std::string_view kUiFontFace = "DejaVu Sans Condensed";
inline constexpr int kDefaultUiFontSize = 13;

// Removes every font of the manager, sets the default font (face at kDefaultUiFontSize) and adds the
// table in face, all shared: ids 0-11, 50, 51, and 52-54 for the main window's bold captions.
void SetUIFonts(CPaintManagerUI& manager, std::string_view face);

}  // namespace zevik

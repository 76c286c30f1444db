#include "shell/ui_font_table.h"

#include <string>

#include "ui/paint_manager_ui.h"

namespace zevik {

namespace {

struct UiFontEntry {
    int id;
    int size;  // unscaled pixels
    bool bold;
    bool underline;
};

// 52-54 are the bold caption styles of the main window that the rest lacks: 12 (product name, device
// texts), 20 (logo), 18 (headings).
constexpr UiFontEntry kTable[] = {
    {0, 15, false, false}, {1, 14, false, true},  {2, 18, false, false},  {3, 30, false, false},
    {4, 16, false, false}, {5, 20, false, false}, {6, 22, false, false},  {7, 14, false, false},
    {8, 12, false, false}, {9, 11, false, false}, {10, 10, false, false}, {11, 28, false, false},
    {50, 14, true, false}, {51, 16, true, false}, {52, 12, true, false},  {53, 20, true, false},
    {54, 18, true, false},
};

}  // namespace

void SetUIFonts(CPaintManagerUI& manager, std::string_view face) {
    manager.RemoveAllFonts();
    TFontInfo font;
    font.sFontName = std::string(face);
    font.iSize = kDefaultUiFontSize;
    font.bShared = true;
    manager.SetDefaultFont(font);
    for (const UiFontEntry& entry : kTable) {
        font.iSize = entry.size;
        font.bBold = entry.bold;
        font.bUnderline = entry.underline;
        manager.AddFont(entry.id, font);
    }
}

}  // namespace zevik

#pragma once
// Dark theme of the desktop program: a palette for everything Qt paints itself and a style sheet for
// the standard widgets (buttons, edits, combos, sliders, progress bars, lists, tabs, scroll bars).

#include <QString>

class QApplication;

namespace zevik {

// The style sheet applied by ApplyDarkTheme; exposed so a single window can be styled alone.
QString DarkThemeStyleSheet();

// Sets the Fusion style, the dark palette and the style sheet on the whole application.
void ApplyDarkTheme(QApplication& app);

}  // namespace zevik

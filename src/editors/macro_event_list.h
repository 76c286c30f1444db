#pragma once
// The edits of a macro's event list the editor's buttons make: insert after a row, move a row one
// step or to an end, remove a row, clear. Rows count from 0 here; every function returns the row
// that is selected afterwards (-1 when none).

#include <vector>

#include "settings/macro_event.h"

namespace zevik {

enum class MacroRowMove { Up, Down, Top, Bottom };

// Inserts after row (before everything when row is -1 or out of range below) and returns the new
// row's index.
int InsertMacroEvent(std::vector<MacroEvent>& events, int afterRow, const MacroEvent& event);
// Moves row; a row outside the list changes nothing and returns -1.
int MoveMacroEvent(std::vector<MacroEvent>& events, int row, MacroRowMove move);
// Removes row; the row now at its place (or the new last row) stays selected.
int RemoveMacroEvent(std::vector<MacroEvent>& events, int row);

}  // namespace zevik

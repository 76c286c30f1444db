#include "editors/macro_event_list.h"

#include <algorithm>

namespace zevik {

int InsertMacroEvent(std::vector<MacroEvent>& events, int afterRow, const MacroEvent& event) {
    const int size = static_cast<int>(events.size());
    const int at = afterRow < 0 ? 0 : std::min(afterRow + 1, size);
    events.insert(events.begin() + at, event);
    return at;
}

int MoveMacroEvent(std::vector<MacroEvent>& events, int row, MacroRowMove move) {
    const int size = static_cast<int>(events.size());
    if (row < 0 || row >= size) return -1;
    int to = row;
    switch (move) {
        case MacroRowMove::Up: to = std::max(row - 1, 0); break;
        case MacroRowMove::Down: to = std::min(row + 1, size - 1); break;
        case MacroRowMove::Top: to = 0; break;
        case MacroRowMove::Bottom: to = size - 1; break;
    }
    const MacroEvent moved = events[static_cast<std::size_t>(row)];
    events.erase(events.begin() + row);
    events.insert(events.begin() + to, moved);
    return to;
}

int RemoveMacroEvent(std::vector<MacroEvent>& events, int row) {
    const int size = static_cast<int>(events.size());
    if (row < 0 || row >= size) return -1;
    events.erase(events.begin() + row);
    return events.empty() ? -1 : std::min(row, size - 2);
}

}  // namespace zevik

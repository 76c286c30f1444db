#pragma once
// CMacroRecorder: turns captured key and button events into macro rows, as a recording on the macro
// page places them. A press is "down", a release "up", an auto-repeat is dropped, and a key held down
// counts once (a press of the key last pressed is ignored until it is released). Keys and buttons the
// key table and the mouse event table do not cover, motion and wheels add nothing.
//
// Delays: real (whole milliseconds since the previous recorded event, or since the start; above
// 0xFFFE as 0xFFFF), fixed, or none; the first row of an empty list always gets 0. Placement by mode:
// append (4), before the selected row (8; appended when none is selected), after it (16; at the top
// when none is), or the selected row replaced by the next event (32, its delay kept). At most 4000
// rows.

#include <cstdint>
#include <vector>

#include "platform/input_event.h"
#include "settings/macro_event.h"

namespace zevik {

inline constexpr int kMaxRecordedRows = 4000;

enum class RecordDelay { Real = 1, Fixed = 2, Ignore = 3 };

struct MacroRows {
    std::vector<MacroEvent> events;
    int selected = -1;  // -1: none
};

class CMacroRecorder {
public:
    // startUs: the recording's start on the events' clock; 0 takes the first event's time.
    CMacroRecorder(int mode, RecordDelay delay, std::uint16_t fixedDelay, std::uint64_t startUs = 0)
        : mode_(mode), delay_(delay), fixedDelay_(fixedDelay), lastUs_(startUs), started_(startUs != 0) {}

    // Places the event into rows; false when it added or changed nothing.
    bool Take(const InputEvent& event, MacroRows& rows);
    // The row the last successful Take added or changed.
    int LastRow() const { return lastRow_; }
    // Whether the last successful Take changed a row in place (replacing) rather than adding one.
    bool LastReplaced() const { return mode_ == 32; }

private:
    std::uint16_t DelayFor(std::uint64_t timeUs, bool emptyList);

    int mode_;
    RecordDelay delay_;
    std::uint16_t fixedDelay_;
    std::uint64_t lastUs_;
    bool started_;
    int heldKey_ = -1;  // the key last pressed, until released
    bool replaced_ = false;
    int lastRow_ = -1;
};

}  // namespace zevik

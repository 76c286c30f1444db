#include "editors/macro_recorder.h"

#include <linux/input-event-codes.h>

#include <algorithm>

#include "editors/evdev_key_map.h"
#include "editors/key_tables.h"

namespace zevik {

namespace {

constexpr int kModeAppend = 4;
constexpr int kModeBefore = 8;
constexpr int kModeAfter = 16;
constexpr int kModeReplace = 32;
constexpr std::uint8_t kTypeButton = 1;
constexpr std::uint8_t kTypeModifier = 9;
constexpr std::uint8_t kTypeKey = 10;

}  // namespace

std::uint16_t CMacroRecorder::DelayFor(std::uint64_t timeUs, bool emptyList) {
    if (!started_) {
        started_ = true;
        lastUs_ = timeUs;
    }
    std::uint16_t delay = 0;
    if (delay_ == RecordDelay::Fixed) {
        delay = fixedDelay_;
    } else if (delay_ == RecordDelay::Real) {
        const std::uint64_t ms = timeUs > lastUs_ ? (timeUs - lastUs_) / 1000 : 0;
        delay = ms > 0xFFFE ? 0xFFFF : static_cast<std::uint16_t>(ms);
    }
    lastUs_ = timeUs;
    return emptyList ? 0 : delay;
}

bool CMacroRecorder::Take(const InputEvent& event, MacroRows& rows) {
    if (event.type != EV_KEY || (event.value != 0 && event.value != 1)) return false;
    const bool down = event.value == 1;
    MacroEvent row;
    row.action = down ? "down" : "up";
    if (const std::uint8_t bit = ButtonBitOfEvdevCode(event.code)) {
        row.type = kTypeButton;
        row.button = bit;
    } else {
        const int key = KeyRowOfEvdevCode(event.code);
        if (key < 0) return false;
        // A key held down reports itself once.
        if (down && key == heldKey_) return false;
        heldKey_ = down ? key : (key == heldKey_ ? -1 : heldKey_);
        const AssignmentCode code = KeyTable()[static_cast<size_t>(key)].code;
        row.type = code.p2 != 0 ? kTypeKey : kTypeModifier;
        row.button = code.p2 != 0 ? code.p2 : code.p1;
    }
    std::vector<MacroEvent>& list = rows.events;
    const bool hasSelection = rows.selected >= 0 && rows.selected < static_cast<int>(list.size());
    if (mode_ == kModeReplace) {
        if (!hasSelection || replaced_) return false;
        replaced_ = true;
        MacroEvent& target = list[static_cast<size_t>(rows.selected)];
        target.action = row.action;
        target.type = row.type;
        target.button = row.button;
        lastRow_ = rows.selected;
        return true;
    }
    if (list.size() >= static_cast<size_t>(kMaxRecordedRows)) return false;
    row.delay = DelayFor(event.timeUs, list.empty());
    if (mode_ == kModeBefore && hasSelection) {
        list.insert(list.begin() + rows.selected, row);
        lastRow_ = rows.selected;
        ++rows.selected;  // the selected row moved down with the insertion; the next event follows
        return true;
    }
    if (mode_ == kModeAfter) {
        const int at = hasSelection ? rows.selected + 1 : 0;
        list.insert(list.begin() + at, row);
        rows.selected = at;
        lastRow_ = at;
        return true;
    }
    list.push_back(row);  // appending, or before a selection there is not
    lastRow_ = static_cast<int>(list.size()) - 1;
    if (mode_ != kModeBefore) rows.selected = static_cast<int>(list.size()) - 1;
    return true;
}

}  // namespace zevik

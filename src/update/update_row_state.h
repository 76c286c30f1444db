#pragma once
// The states of an update list row and of the update part of the settings window, with the text
// keys they show.

#include <string_view>

namespace zevik {

enum class UpdateRowState : int {
    NotNeeded = 0,      // "LessUpdateText"
    Needed = 1,         // "NeedUpdateText"
    NeededToo = 2,      // "NeedUpdateText"
    WaitingDownload = 3,
    Downloading = 4,
    Downloaded = 5,     // the package is in the download folder; nothing runs it
    Installing = 6,     // never entered here: packages are not run
    UpToDate = 7,
    Failed = 8,
};

enum class UpdateWindowState : int {
    Checking = 0,
    HaveUpdates = 1,
    NotReached = 2,
    Updating = 3,
    AllCurrent = 4,
};

std::string_view UpdateRowTextKey(UpdateRowState state);
std::string_view UpdateWindowTextKey(UpdateWindowState state);

// A row in this state holds a transfer: the window may not close.
inline bool UpdateRowIsBusy(UpdateRowState state) {
    return state == UpdateRowState::WaitingDownload || state == UpdateRowState::Downloading;
}

}  // namespace zevik

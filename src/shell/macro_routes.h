#pragma once
// The main window's routes into the macro page: its buttons, the name list's selection, the delay
// edits, the movement buttons and the items of the action-list popup menu.

#include <optional>

#include "editors/macro_recorder.h"
#include "platform/input_event.h"
#include "shell/notify_router.h"

namespace zevik {

class IMainWindowOps;

void AddMacroRoutes(CNotifyRouter& router, IMainWindowOps& ops);

// A recording into the selected macro (mode 4 append, 8 before, 16 after the selected row, 32 replace
// it); delay: as the page's fixed-delay check says when none is given. False when no macro is
// selected or the input cannot be read (the user is told why).
bool StartMacroRecording(IMainWindowOps& ops, int mode, std::optional<RecordDelay> delay);
// Ends the recording and saves the macro.
void StopMacroRecording(IMainWindowOps& ops);
// A captured event of a recording, on the UI thread.
void OnRecordedInput(IMainWindowOps& ops, const InputEvent& event);

// A popup menu item of the action list ("left_down" ... "back_click"); false when the name is not one.
bool OnMacroMenuItem(IMainWindowOps& ops, std::string_view item);

}  // namespace zevik

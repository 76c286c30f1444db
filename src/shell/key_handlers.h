#pragma once
// The key page's operations as the main window's routes run them, on the current device's page: open
// a key (with the guard on the last left button), keep the controls' function for the key, show the
// factory function, cancel, and write the key list with its macros. SetKeyEditState enables the
// page's keep/cancel/write buttons while an edit is pending.

#include "platform/input_event.h"
#include "shell/main_window_ops.h"

namespace zevik {

class CKeySetControlUI;

// The key assignment control on a device's page; null when it has none.
CKeySetControlUI* KeySetControlOf(COrbantixUSBDevice* device);

void OnKeyButton(IMainWindowOps& ops, int index);
void OnKeySave(IMainWindowOps& ops);
void OnKeyDefault(IMainWindowOps& ops);
void OnKeyCancel(IMainWindowOps& ops);
// Returns what the device reported (0 done) after telling the user of a failure.
int OnKeyWrite(IMainWindowOps& ops);
// A choice of the page changed: "keyset_function_combo" and "keyset_macro_over_combo" show their
// settings; every choice also keeps the pending function for the key.
void OnKeyChoice(IMainWindowOps& ops, std::string_view control);

// A captured key or button event on the UI thread. Mode 1 (the key page's capture): a pressed
// modifier selects its option and rebuilds the pending code; another key the capture covers fills the
// key edit and the pending code. Keys it does not cover, releases and repeats change nothing.
void OnCapturedInput(IMainWindowOps& ops, int mode, const InputEvent& event);

// s = 1: the device selector and the power panel follow b (enabled when 1); the key page's keep,
// cancel and write buttons are enabled when b is 0.
void SetKeyEditState(IMainWindowOps& ops, int s, int b);

}  // namespace zevik

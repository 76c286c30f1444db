#pragma once
// Starting and ending a headless run of the main window for the commands that need one (mouse, batch).

#include "cli_context.h"
#include "shell/headless_run.h"

namespace zevik::cli {

// Starts run with the global options (emulated devices, or the backend they select); false with a
// message on stderr when it cannot start.
bool StartHeadlessRun(CliContext& context, CHeadlessRun& run);

// Ends run (emulator state saved, devices closed) and returns code, or kExitFailed when ending failed
// and code was kExitOk.
int FinishHeadlessRun(CHeadlessRun& run, int code);

}  // namespace zevik::cli

#include "headless_start.h"

#include <iostream>
#include <string>

#include "settings/profile_locations.h"

namespace zevik::cli {

bool StartHeadlessRun(CliContext& context, CHeadlessRun& run) {
    HeadlessRunOptions options;
    options.emulate = context.options.emulate;
    options.emulatorState = context.options.emulatorState;
    options.emulatorLog = context.options.emulatorLog;
    options.dataDir = context.options.dataDir;
    options.skinFolder = CProfileLocations::DefaultProgramFolder() / "skin";
    if (options.emulate.empty() && (options.backend = context.Backend()) == nullptr) return false;
    std::string error;
    if (!run.Start(options, error)) {
        std::cerr << "zevikctl: " << error << '\n';
        return false;
    }
    return true;
}

int FinishHeadlessRun(CHeadlessRun& run, int code) {
    std::string error;
    if (!run.Finish(error)) {
        std::cerr << "zevikctl: " << error << '\n';
        if (code == kExitOk) code = kExitFailed;
    }
    return code;
}

}  // namespace zevik::cli

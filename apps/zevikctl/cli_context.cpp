#include "cli_context.h"

#include <fmt/core.h>

#include "emulator/emulation.h"
#include "transport/hid/hidraw_backend.h"

namespace zevik::cli {

CliContext::CliContext() = default;
CliContext::~CliContext() = default;

IHidBackend* CliContext::Backend() {
    if (backend_ != nullptr || failed_) return backend_;
    if (!options.emulate.empty()) {
        EmulationOptions emulationOptions;
        emulationOptions.list = options.emulate;
        emulationOptions.stateFile = options.emulatorState;
        emulationOptions.logFile = options.emulatorLog;
        std::string error;
        emulation_ = CEmulation::Create(emulationOptions, error);
        if (!emulation_) {
            fmt::print(stderr, "zevikctl: --emulate: {}\n", error);
            failed_ = true;
            return nullptr;
        }
        backend_ = &emulation_->Backend();
        return backend_;
    }
    if (!options.emulatorState.empty() || !options.emulatorLog.empty()) {
        fmt::print(stderr, "zevikctl: --emulator-state and --emulator-log need --emulate\n");
        failed_ = true;
        return nullptr;
    }
    hidraw_ = std::make_unique<CHidrawBackend>();
    backend_ = hidraw_.get();
    return backend_;
}

CEmulation* CliContext::Emulation() {
    Backend();
    return emulation_.get();
}

bool CliContext::Finish() {
    if (!emulation_) return true;
    std::string error;
    if (emulation_->SaveState(error)) return true;
    fmt::print(stderr, "zevikctl: --emulator-state: {}\n", error);
    return false;
}

}  // namespace zevik::cli

#pragma once
// What every command group of zevikctl shares: the global options and the HID backend they select.

#include <filesystem>
#include <memory>
#include <string>

#include "transport/hid/hid_backend.h"

namespace zevik {
class CEmulation;
}

namespace zevik::cli {

struct GlobalOptions {
    std::string emulate;            // --emulate LIST, e.g. "mouse,mousepad" or "mouse@receiver"
    std::string emulatorState;      // --emulator-state FILE
    std::string emulatorLog;        // --emulator-log FILE
    std::filesystem::path dataDir;  // --data-dir DIR, in place of the data root
    bool json = false;              // --json
};

class CliContext {
public:
    CliContext();
    ~CliContext();
    CliContext(const CliContext&) = delete;
    CliContext& operator=(const CliContext&) = delete;

    GlobalOptions options;

    // The backend the options select: emulated devices with --emulate, hidraw otherwise.
    // Created on first use; null (with a message on stderr) when the options are invalid.
    IHidBackend* Backend();
    // The emulated devices (created with the backend); null without --emulate or when invalid.
    CEmulation* Emulation();

    // Saves emulator state when --emulator-state was given. Called once before exit; false (with a
    // message on stderr) when the state could not be saved.
    bool Finish();

private:
    std::unique_ptr<CEmulation> emulation_;  // the emulated devices, with --emulate
    std::unique_ptr<IHidBackend> hidraw_;    // the real devices otherwise
    IHidBackend* backend_ = nullptr;
    bool failed_ = false;
};

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the operation ran and failed (message on stderr)
inline constexpr int kExitUsage = 2;   // bad arguments (usage on stderr)

}  // namespace zevik::cli

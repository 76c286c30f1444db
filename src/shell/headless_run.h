#pragma once
// CHeadlessRun: one run of the headless tool: the emulated devices (when asked for) or the given
// backend, and the headless session on them. Finish lets posted page work run, closes everything and
// saves the emulator's state.

#include <filesystem>
#include <memory>
#include <string>

#include "shell/headless_session.h"

namespace zevik {

class CEmulation;
class IHidBackend;

struct HeadlessRunOptions {
    std::string emulate;        // emulation list; empty: use backend
    std::string emulatorState;  // state file of the emulated devices
    std::string emulatorLog;    // report log of the emulated devices
    std::filesystem::path dataDir;
    std::filesystem::path skinFolder;
    std::filesystem::path programFolder;  // the factory files' folder; empty: the executable's
    IHidBackend* backend = nullptr;       // the real devices, without emulate
};

class CHeadlessRun {
public:
    CHeadlessRun();
    ~CHeadlessRun();
    bool Start(const HeadlessRunOptions& options, std::string& error);
    bool Finish(std::string& error);
    CHeadlessSession& Session() { return *m_session; }
    // Null without emulation.
    CEmulation* Emulation() { return m_emulation.get(); }

private:
    std::unique_ptr<CEmulation> m_emulation;
    std::unique_ptr<CHeadlessSession> m_session;
};

}  // namespace zevik

#include "shell/headless_run.h"

#include <chrono>

#include "emulator/emulation.h"

namespace zevik {

CHeadlessRun::CHeadlessRun() = default;

CHeadlessRun::~CHeadlessRun() {
    m_session.reset();  // the window and its devices go before the devices they talk to
    m_emulation.reset();
}

bool CHeadlessRun::Start(const HeadlessRunOptions& options, std::string& error) {
    IHidBackend* backend = options.backend;
    if (!options.emulate.empty()) {
        EmulationOptions emulation;
        emulation.list = options.emulate;
        emulation.stateFile = options.emulatorState;
        emulation.logFile = options.emulatorLog;
        m_emulation = CEmulation::Create(emulation, error);
        if (!m_emulation) {
            return false;
        }
        backend = &m_emulation->Backend();
    }
    if (backend == nullptr) {
        error = "no HID backend";
        return false;
    }
    m_session = std::make_unique<CHeadlessSession>(*backend, options.skinFolder, options.dataDir,
                                                   options.programFolder);
    m_session->SetEmulation(m_emulation.get());
    return m_session->Start(error);
}

bool CHeadlessRun::Finish(std::string& error) {
    if (m_session) {
        m_session->PumpFor(std::chrono::milliseconds(50));  // posted page work runs before the end
        m_session.reset();
    }
    return m_emulation == nullptr || m_emulation->SaveState(error);
}

}  // namespace zevik

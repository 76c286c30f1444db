#include "shell/headless_session.h"

#include <algorithm>

#include "devices/device_option_ui.h"
#include "devices/mouse_device.h"
#include "ui/option_ui.h"
#include "shell/main_wnd.h"
#include "transport/command_channel.h"
#include "ui/paint_manager_ui.h"
#include "ui/resource_manager.h"

namespace zevik {

namespace {

CProfileLocations MakeLocations(const std::filesystem::path& dataRoot,
                                const std::filesystem::path& programFolder) {
    if (dataRoot.empty() && programFolder.empty()) {
        return CProfileLocations();
    }
    return CProfileLocations(dataRoot, programFolder);
}

}  // namespace

CHeadlessSession::CHeadlessSession(IHidBackend& backend, const std::filesystem::path& skinFolder,
                                   const std::filesystem::path& dataRoot,
                                   const std::filesystem::path& programFolder)
    : m_skinFolder(skinFolder), m_dataRoot(dataRoot), m_locations(MakeLocations(dataRoot, programFolder)) {
    m_context.hidBackend = &backend;
    m_context.uiLoop = &m_loop;
    m_context.profileLocations = &m_locations;
}

CHeadlessSession::~CHeadlessSession() {
    if (m_window) {
        m_window->StopScan();
        m_window->DestroyWindow();
        m_window.reset();
        CPaintManagerUI::SetResourcePath(m_previousResourcePath);
    }
}

bool CHeadlessSession::Start(std::string& error) {
    m_previousResourcePath = CPaintManagerUI::GetResourcePath();
    CPaintManagerUI::SetResourcePath(m_skinFolder.string() + "/");
    if (!CResourceManager::GetInstance()->LoadResource("res.xml")) {
        error = "the resource table: " + CResourceManager::GetInstance()->GetLastError();
        return false;
    }
    m_window = std::make_unique<CMainWnd>(m_context);
    // A data folder of its own keeps the settings file beside the profiles.
    if (!m_dataRoot.empty()) m_window->SetSettingsFile(m_dataRoot / CAppSettings::kFileName);
    if (m_window->Create(0, "ZEVIK", 0, 0) == 0) {
        error = "main skin: " + m_window->GetSkinError();
        return false;
    }
    // Its window-init (the user's language among it) runs before any command reads a text.
    m_loop.ProcessPending();
    if (!m_window->StartScan()) {
        error = "the device scan could not start";
        return false;
    }
    return true;
}

bool CHeadlessSession::PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit) {
    // cond may change without a message (a worker sets a flag): looked at every 20 ms at least.
    return Pump(cond, limit, std::chrono::milliseconds(20));
}

bool CHeadlessSession::Pump(const std::function<bool()>& cond, std::chrono::milliseconds limit,
                            std::chrono::milliseconds lookEvery) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!cond()) {
        const auto before = std::chrono::steady_clock::now();
        if (before >= deadline) {
            return false;
        }
        // Sleep until the next timer is due, work arrives or cond must be looked at. Rounded up:
        // waking a fraction of a millisecond early fires nothing and costs a second wake-up.
        auto wait = std::min(lookEvery, std::chrono::ceil<std::chrono::milliseconds>(deadline - before));
        if (const auto due = m_loop.NextTimerDue()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - m_loop.Now());
            wait = std::clamp(left, std::chrono::milliseconds(1), wait);
        }
        m_loop.ProcessPendingWait(wait);
        m_loop.AdvanceBy(
            std::chrono::duration_cast<CMessageLoop::Duration>(std::chrono::steady_clock::now() - before));
    }
    return true;
}

void CHeadlessSession::PumpFor(std::chrono::milliseconds span) {
    // Nothing to look at: the loop sleeps until its next timer or work from another thread.
    Pump([] { return false; }, span, span);
}

COrbantixMouseDevice* CHeadlessSession::ConnectedMouse() const {
    if (!m_window) {
        return nullptr;
    }
    for (COrbantixUSBDevice* device : m_window->Devices(CMainWnd::kFamilyMouse)) {
        auto* mouse =
            static_cast<COrbantixMouseDevice*>(device->GetInterface(COrbantixMouseDevice::kClassName));
        if (mouse != nullptr && mouse->CommandChannel().IsOpen() && mouse->HasMirror()) {
            return mouse;
        }
    }
    return nullptr;
}

bool CHeadlessSession::MouseRowLive() const {
    const CDiscoveryInterfaceList& list = m_window->InterfaceList();
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const auto row = list.Row(i);
        if (row && (row->kind == kDeviceKindMouse || row->kind == kDeviceKindMouseReceiver) &&
            list.IsLive(i)) {
            return true;
        }
    }
    return false;
}

COrbantixMouseDevice* CHeadlessSession::WaitForMouse(std::chrono::milliseconds limit) {
    if (!m_window) {
        return nullptr;
    }
    // Once the first scan pass is through, a mouse that is not among its arrivals is not there: no
    // reason to wait out the limit.
    PumpUntil(
        [this] { return ConnectedMouse() != nullptr || (m_window->FirstScanDone() && !MouseRowLive()); },
        limit);
    return ConnectedMouse();
}

bool CHeadlessSession::MakeCurrent(COrbantixUSBDevice& device) {
    CMainWnd& window = *m_window;
    if (window.GetCurrentDevice() != &device) {
        CDeviceOptionUI* option = device.GetDeviceOption();
        COptionUI* button = option != nullptr ? option->SelectButton() : nullptr;
        if (button != nullptr) button->Activate();
        PumpFor(std::chrono::milliseconds(1));
    }
    return window.GetCurrentDevice() == &device;
}

}  // namespace zevik

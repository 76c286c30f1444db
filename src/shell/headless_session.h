#pragma once
// CHeadlessSession: the main window with its device list on the plain loop, without a display. The
// command-line tool uses it to run the same discovery, connect and page operations as the desktop
// program: the scan thread finds the devices, the device pages are built from the skin, and the
// options' timers run on the loop, whose virtual clock follows real time while the session pumps.

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "devices/device_context.h"
#include "settings/profile_locations.h"
#include "ui/plain_message_loop.h"

namespace zevik {

class CMainWnd;
class CEmulation;
class COrbantixMouseDevice;
class COrbantixUSBDevice;
class IHidBackend;

class CHeadlessSession {
public:
    // skinFolder: the folder holding XML\...; dataRoot empty: the default data folder and settings
    // file (else both in dataRoot); programFolder (the factory files' folder) empty: the executable's
    // folder.
    CHeadlessSession(IHidBackend& backend, const std::filesystem::path& skinFolder,
                     const std::filesystem::path& dataRoot, const std::filesystem::path& programFolder = {});
    ~CHeadlessSession();
    CHeadlessSession(const CHeadlessSession&) = delete;
    CHeadlessSession& operator=(const CHeadlessSession&) = delete;

    // The emulated devices behind the backend (before Start): an emulated headset's sound card.
    void SetEmulation(CEmulation* emulation) { m_context.emulation = emulation; }
    // Creates the window, builds the skin and starts the scan thread; false with a message.
    bool Start(std::string& error);
    // Pumps the loop for that span of real time (the virtual clock moves along).
    void PumpFor(std::chrono::milliseconds span);
    // Pumps until cond holds; false when the limit passed first.
    bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit);

    // The mouse, when it is connected and its settings have been read; null otherwise.
    COrbantixMouseDevice* ConnectedMouse() const;
    // Pumps until the mouse is connected and read, the first scan pass found none, or the limit
    // passes.
    COrbantixMouseDevice* WaitForMouse(std::chrono::milliseconds limit);

    // Selects the device's option in the device selector, as a click does; true when it is then the
    // current device.
    bool MakeCurrent(COrbantixUSBDevice& device);

    CMainWnd& Window() { return *m_window; }
    CPlainMessageLoop& Loop() { return m_loop; }

private:
    // A mouse row (cable or receiver) of the interface list is connected.
    bool MouseRowLive() const;
    bool Pump(const std::function<bool()>& cond, std::chrono::milliseconds limit,
              std::chrono::milliseconds lookEvery);

    CPlainMessageLoop m_loop;
    std::filesystem::path m_skinFolder;
    std::filesystem::path m_dataRoot;
    std::string m_previousResourcePath;
    CProfileLocations m_locations;
    DeviceContext m_context;
    std::unique_ptr<CMainWnd> m_window;
};

}  // namespace zevik

#pragma once
// CZevikWindow: the desktop program's main window. It shows the main skin, the page of the mouse it
// serves (or the "No_device_Link" panel without one), routes every notification and menu command
// through the shared route table, and keeps a tray icon: left click hides and shows the window,
// right click opens the tray menu. Closing the window hides it in the tray (or minimises it when the
// desktop has no tray); "exit" runs the one orderly shutdown.

#include <functional>
#include <memory>
#include <string>

#include "devices/device_catalogue.h"
#include "devices/device_context.h"
#include "shell/audio_record_buffers.h"
#include "shell/main_window_ops.h"
#include "shell/notify_router.h"
#include "ui/menu_wnd.h"
#include "ui/tray_icon.h"
#include "ui/window_impl_base.h"

namespace zevik {

class COrbantixMouseDevice;

class CZevikWindow final : public WindowImplBase, public IMainWindowOps {
public:
    static constexpr UINT kTrayMessage = WM_USER + 101;
    static constexpr UINT kTrayIconId = 1;
    // The updater's event message; wParam 4 ends the program.
    static constexpr const char* kUpdateEventMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
    static constexpr WPARAM kUpdateEventQuit = 4;

    CZevikWindow(const DeviceContext& context, std::string mousePath, bool trayAvailable);
    ~CZevikWindow() override;

    std::string GetSkinFile() override { return "XML_MAIN"; }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(std::string_view className) override;
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // IMainWindowOps
    COrbantixUSBDevice* GetCurrentDevice() override;
    CControlUI* FindMainControl(std::string_view name) override;
    void CloseToTray() override;
    void HideMainWindow() override;
    void ShowMainWindow() override;
    void SendSysCommand(UINT command) override;
    void ExitProgram() override;

    // Brings the window to the front (a second start asked for it).
    void ActivateMainWindow();
    // Connects the mouse page to its device; false when the device did not answer.
    bool ConnectMouse();
    // Opens the mouse's performance page, as a user's click on its tab would.
    void ShowStartPage();
    COrbantixMouseDevice* Mouse() const { return mouse_; }
    // A record of the audio capture program arrived (over the session bus).
    void OnCopyData(std::uint32_t kind, std::span<const std::uint8_t> data) {
        audioRecords_.Accept(kind, data);
    }
    const CAudioRecordBuffers& AudioRecords() const { return audioRecords_; }
    // Called once when the shutdown ends the loop.
    void SetOnShutdown(std::function<void()> onShutdown) { onShutdown_ = std::move(onShutdown); }
    bool IsShutDown() const { return shutDown_; }

private:
    void AddDeviceCard(const DeviceTabEntry& tab);
    void OnTrayAction(LPARAM mouseMessage);
    void ShowTrayMenu();

    DeviceContext context_;
    std::string mousePath_;
    bool trayAvailable_;
    CNotifyRouter router_;
    CTrayIcon tray_;
    CAudioRecordBuffers audioRecords_;
    std::unique_ptr<CMenuWnd> trayMenu_;
    COrbantixMouseDevice* mouse_ = nullptr;  // owned by the page tree
    CControlUI* page_ = nullptr;             // the mouse page in "device_switch"
    std::function<void()> onShutdown_;
    bool shutDown_ = false;
};

}  // namespace zevik

#pragma once
// IMainWindowOps: what the main window's routes reach of the window itself. The main window
// implements it; tests give a recording one.

#include <string_view>

#include "ui/ui_types.h"

namespace zevik {

class COrbantixUSBDevice;
class CControlUI;

// WM_SYSCOMMAND codes of the caption buttons.
inline constexpr UINT kScMinimize = 0xF020;
inline constexpr UINT kScMaximize = 0xF030;
inline constexpr UINT kScRestore = 0xF120;

class IMainWindowOps {
public:
    virtual ~IMainWindowOps() = default;
    // The device of the selected, present entry of the device selector; null when none.
    virtual COrbantixUSBDevice* GetCurrentDevice() = 0;
    // A control of the main window's tree by name; null when absent.
    virtual CControlUI* FindMainControl(std::string_view name) = 0;
    // "closebtn": close child windows, hide (or minimise without a tray), hold the devices' polling.
    virtual void CloseToTray() = 0;
    virtual void HideMainWindow() = 0;
    virtual void ShowMainWindow() = 0;
    virtual void SendSysCommand(UINT command) = 0;
    // The orderly shutdown: workers stopped, devices closed, files flushed, then the loop ends.
    virtual void ExitProgram() = 0;
};

}  // namespace zevik

#pragma once
// IMainWindowOps: what the main window's routes reach of the window itself. The main window
// implements it; tests give a recording one.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    // The message dialog over the main window with a text key (buttons 0: a notice with one button,
    // 1: a question); an argument fills the text's "%d" or "%s". 1 when the user confirmed.
    virtual int AskUser(std::string_view textKey, int buttons,
                        const std::optional<std::string>& argument = std::nullopt) = 0;
    // The about window (one at a time).
    virtual void OpenAboutWindow() = 0;
    // The background popup under "skinbtn".
    virtual void OpenSkinFrame() = 0;
    // Forgets the colour picker's presets and collected colours (a profile reset does).
    virtual void ResetColourChoices() = 0;
    // Puts the music window's groups back to the factory copy (a profile reset does).
    virtual void ResetMusicSettings() {}
    // The settings window (one at a time): beside the window's right edge, or centred on the screen.
    virtual void OpenSettingsWindow(bool centred) = 0;
    // The key page's key capture: on (the key edit has the focus) or off.
    virtual void SetKeyCapture(bool /*on*/) {}
    // A key pressed in the key edit (its Linux input code): the capture's input when no input device
    // can be read.
    virtual void OfferWindowKey(std::uint16_t /*code*/) {}
    // The capture of the desktop's input for a macro recording (mode 4, 8, 16 or 32): 1 started, 0 not
    // (error for the user); and its end.
    virtual int InstallRecordingHook(int /*mode*/, std::string& /*error*/) { return 0; }
    virtual void UninstallRecordingHook() {}
    // A file chosen in the desktop's file dialog, listing the files that match patterns ("*.mac");
    // empty when the user cancels or no dialog can be shown.
    virtual std::filesystem::path ChooseFile(bool /*save*/, const std::string& /*title*/, const std::string& /*suggested*/,
                                             const std::string& /*filterName*/,
                                             const std::vector<std::string>& /*patterns*/) {
        return {};
    }
    // The popup of the macro page's action list at the cursor, replacing one still open.
    virtual void OpenMacroActionMenu() {}
};

// Tells the user what a device reported when it took up a profile: -1 (nothing reached the device)
// "message_text_7", any other failure "message_text_16" with the value. Nothing for 0.
inline void ReportProfileSwitch(IMainWindowOps& ops, int result) {
    if (result == -1) {
        ops.AskUser("message_text_7", 0);
    } else if (result != 0) {
        ops.AskUser("message_text_16", 0, std::to_string(result));
    }
}

}  // namespace zevik

#pragma once
// CSecondaryWnd: what the program's secondary windows (message dialog, about window, colour picker,
// settings window) share: their own DPI, the caption buttons, the refresh after a language change,
// the system close, and the modal run that answers from CDialogAnswers when no renderer shows it.
//
// Every open secondary window is known by its owner's handle, so the main window can close its
// children (CloseAllOwnedBy) before it hides or ends.

#include <string>
#include <string_view>

#include "ui/window_impl_base.h"

namespace zevik {

// Our own private messages of the main window.
inline constexpr UINT UM_LANGUAGE_CHANGED = 3089;
// Opens the settings window, centred (another program's request).
inline constexpr UINT UM_OPEN_SETTINGS = 3093;
// A secondary window asks for the orderly shutdown (Alt+F4 there ends the program).
inline constexpr UINT UM_EXIT_PROGRAM = 3100;
// The capture hook: wParam 1 installs it for the key page's key edit, 0 removes it.
inline constexpr UINT UM_MACRO_HOOK = 1054;
// Captured input events wait in the hook (CDeviceHook).
inline constexpr UINT UM_INPUT_EVENTS = 3101;
// The program ends: a secondary window closes whatever it is doing.
inline constexpr UINT UM_CLOSE_FOR_EXIT = 3102;

class CSecondaryWnd : public WindowImplBase {
public:
    static constexpr int kDefaultDpi = 96;

    CSecondaryWnd();
    ~CSecondaryWnd() override;

    // One of 48, 72, 96, 120, 144, 168, 192; another value writes the window's DPI error trace and
    // takes 96. Nothing when the value is the current one. Only this window's manager changes.
    void SetWindowDpi(int dpi);
    int GetWindowDpi() const { return m_dpi; }

    // ShowModal; without a renderer the next prepared answer is applied as the loop starts. The
    // window is destroyed when it returns, also when the loop was quit while it stood.
    UINT RunModal();

    // Closes every open secondary window owned by parent at once (result 0).
    static void CloseAllOwnedBy(HWND parent);
    // The same for the program's end: no window may refuse (UM_CLOSE_FOR_EXIT).
    static void EndAllOwnedBy(HWND parent);
    // Sends a message at once to every open secondary window owned by parent.
    static void SendToAllOwnedBy(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam);
    // How many secondary windows are open, and the one opened last (null when none).
    static std::size_t OpenCount();
    static CSecondaryWnd* LastOpened();

    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void Notify(TNotifyUI& msg) override;

protected:
    // The trace line of a refused DPI value.
    virtual std::string_view DpiErrorTrace() const { return "SET_WND DPI SET ERROR"; }
    // Applies a prepared answer through the window's own controls. The default: "yes" clicks
    // "confirm_btn", anything else "cancel_btn" when shown, else "closebtn".
    virtual void ApplyAnswer(const std::string& answer);
    // Clicks a control as the user would; false when it is absent, hidden or disabled.
    bool Click(std::string_view name);
    // The program is ending: a close now must not be refused.
    bool EndingForExit() const { return m_endingForExit; }
    void MarkEndingForExit() { m_endingForExit = true; }
    LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void InitWindow() override;

private:
    void ShowCaptionState();

    int m_dpi = kDefaultDpi;
    bool m_endingForExit = false;
};

}  // namespace zevik

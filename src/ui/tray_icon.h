#pragma once
// CTrayIcon: the notification-area icon. The backend shows it; a user action on it is posted to the
// owner window as the callback message with wParam = the icon's resource id and lParam = the mouse
// message (WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK).

#include <memory>
#include <string>

#include "ui/ui_backend.h"
#include "ui/ui_types.h"

namespace zevik {

class CTrayIcon {
public:
    CTrayIcon();
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    void CreateTrayIcon(HWND owner, UINT iconResource, std::string_view toolTip, UINT callbackMessage);
    void DeleteTrayIcon();
    bool SetTooltipText(std::string_view toolTip);
    std::string GetTooltipText() const { return m_toolTip; }
    void SetShowIcon(bool show);
    bool IsVisible() const { return m_bVisible; }
    bool IsCreated() const { return m_host != nullptr; }
    UINT GetIcon() const { return m_icon; }
    UINT GetCallbackMessage() const { return m_message; }
    HWND GetOwner() const { return m_owner; }

    // The backend reports a mouse action on the icon. False when no icon exists.
    bool OnUserAction(UINT mouseMessage);

private:
    std::unique_ptr<ITrayHost> m_host;
    HWND m_owner = 0;
    UINT m_icon = 0;
    UINT m_message = 0;
    std::string m_toolTip;
    bool m_bVisible = false;
};

}  // namespace zevik

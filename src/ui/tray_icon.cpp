#include "ui/tray_icon.h"

#include "ui/message_loop.h"
#include "ui/window_messages.h"

namespace zevik {

CTrayIcon::CTrayIcon() = default;

CTrayIcon::~CTrayIcon() { DeleteTrayIcon(); }

void CTrayIcon::CreateTrayIcon(HWND owner, UINT iconResource, std::string_view toolTip, UINT callbackMessage) {
    DeleteTrayIcon();
    m_owner = owner;
    m_icon = iconResource;
    m_toolTip = toolTip;
    m_message = callbackMessage;
    m_host = GetUiBackend().CreateTrayHost(*this);
    m_host->SetIcon(iconResource);
    m_host->SetToolTip(m_toolTip);
    m_host->Show(true);
    m_bVisible = true;
}

void CTrayIcon::DeleteTrayIcon() {
    if (!m_host) return;
    m_host->Show(false);
    m_host.reset();
    m_bVisible = false;
}

bool CTrayIcon::SetTooltipText(std::string_view toolTip) {
    if (!m_host) return false;
    m_toolTip = toolTip;
    m_host->SetToolTip(m_toolTip);
    return true;
}

void CTrayIcon::SetShowIcon(bool show) {
    if (!m_host) return;
    m_bVisible = show;
    m_host->Show(show);
}

bool CTrayIcon::OnUserAction(UINT mouseMessage) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (!m_host || loop == nullptr) return false;
    return loop->Post(m_owner, m_message, m_icon, static_cast<LPARAM>(mouseMessage));
}

}  // namespace zevik

#include "ui/qt/qt_tray_host.h"

#include "ui/qt/qt_ui_backend.h"
#include "ui/tray_icon.h"
#include "ui/window_messages.h"

namespace zevik {

CQtTrayHost::CQtTrayHost(CTrayIcon& tray, CQtUiBackend& backend)
    : m_tray(tray), m_backend(backend), m_icon(std::make_unique<QSystemTrayIcon>()) {
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (const UINT msg = MouseMessageFor(reason)) {
                             m_tray.OnUserAction(msg);
                         }
                     });
    m_backend.RegisterHost(m_tray, *this);
}

CQtTrayHost::~CQtTrayHost() {
    m_backend.UnregisterHost(m_tray);
    m_icon->disconnect();
    m_icon->hide();
}

UINT CQtTrayHost::MouseMessageFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return WM_LBUTTONUP;
        case QSystemTrayIcon::DoubleClick:
            return WM_LBUTTONDBLCLK;
        case QSystemTrayIcon::Context:
            return WM_RBUTTONUP;
        default:
            return 0;
    }
}

void CQtTrayHost::Show(bool show) {
    m_icon->setVisible(show);
}

void CQtTrayHost::SetIcon(UINT resourceId) {
    m_icon->setIcon(m_backend.Icon(resourceId));
}

void CQtTrayHost::SetToolTip(std::string_view tip) {
    m_icon->setToolTip(QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())));
}

}  // namespace zevik

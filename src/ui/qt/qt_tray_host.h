#pragma once
// CQtTrayHost: the core's tray icon as a QSystemTrayIcon. A click reports WM_LBUTTONUP, a double
// click WM_LBUTTONDBLCLK and a context request WM_RBUTTONUP to the core's CTrayIcon.

#include <QSystemTrayIcon>
#include <memory>

#include "ui/ui_backend.h"

namespace zevik {

class CQtUiBackend;

class CQtTrayHost final : public ITrayHost {
public:
    CQtTrayHost(CTrayIcon& tray, CQtUiBackend& backend);
    ~CQtTrayHost() override;

    void Show(bool show) override;
    void SetIcon(UINT resourceId) override;
    void SetToolTip(std::string_view tip) override;

    QSystemTrayIcon& Icon() { return *m_icon; }
    // The mouse message a tray activation stands for (0: none).
    static UINT MouseMessageFor(QSystemTrayIcon::ActivationReason reason);

private:
    CTrayIcon& m_tray;
    CQtUiBackend& m_backend;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

}  // namespace zevik

#pragma once
// CQtUiBackend: the Qt implementation of the core's renderer seam. Install it (SetUiBackend) after the
// QApplication exists and before any window is created; it shows windows as frameless widgets with a
// renderer, the tray icon as a QSystemTrayIcon and popup menus as QMenus.

#include <QIcon>
#include <QString>
#include <map>

#include "ui/ui_backend.h"

namespace zevik {

class CQtTrayHost;
class CQtWindowHost;

class CQtUiBackend final : public IUiBackend {
public:
    std::unique_ptr<IWindowHost> CreateWindowHost(CWindowWnd& window) override;
    std::unique_ptr<ITrayHost> CreateTrayHost(CTrayIcon& tray) override;
    std::unique_ptr<IMenuHost> CreateMenuHost(CMenuWnd& menu) override;
    UiRect GetWorkArea() const override;
    UiPoint GetCursorPos() const override;
    // The screen the window's widget is on (else the screen at the window's centre, else the primary
    // one), its geometry multiplied by the screen's device-pixel ratio.
    MonitorInfo GetMonitorInfo(const CWindowWnd& window) const override;
    // Through the renderer of the control's window (its widget's real font and style); a control of a
    // window without a host is measured in the font the skin gives it.
    int MeasureTextWidth(const CControlUI& control, std::string_view text) const override;

    // Icons by the resource ids the program uses (window icon, tray icon). An id without a file shows
    // the application's icon.
    void SetIconFile(UINT resourceId, const QString& file);
    QIcon Icon(UINT resourceId) const;

    // The host showing a window, nullptr when it has none (tests, screenshots).
    CQtWindowHost* HostOf(const CWindowWnd& window) const;
    void RegisterHost(const CWindowWnd& window, CQtWindowHost& host);
    void UnregisterHost(const CWindowWnd& window);
    // The host showing a tray icon, nullptr when it has none.
    CQtTrayHost* HostOf(const CTrayIcon& tray) const;
    void RegisterHost(const CTrayIcon& tray, CQtTrayHost& host);
    void UnregisterHost(const CTrayIcon& tray);

private:
    std::map<UINT, QString> m_iconFiles;
    std::map<const CWindowWnd*, CQtWindowHost*> m_hosts;
    std::map<const CTrayIcon*, CQtTrayHost*> m_trayHosts;
};

}  // namespace zevik

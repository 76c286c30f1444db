#include "ui/qt/qt_ui_backend.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QScreen>
#include <cmath>

#include "ui/paint_manager_ui.h"
#include "ui/qt/qt_menu_host.h"
#include "ui/qt/qt_tray_host.h"
#include "ui/qt/qt_window_host.h"
#include "ui/qt/widget_sync.h"
#include "ui/window_wnd.h"

namespace zevik {

std::unique_ptr<IWindowHost> CQtUiBackend::CreateWindowHost(CWindowWnd& window) {
    return std::make_unique<CQtWindowHost>(window, *this);
}

std::unique_ptr<ITrayHost> CQtUiBackend::CreateTrayHost(CTrayIcon& tray) {
    return std::make_unique<CQtTrayHost>(tray, *this);
}

std::unique_ptr<IMenuHost> CQtUiBackend::CreateMenuHost(CMenuWnd& menu) {
    return std::make_unique<CQtMenuHost>(menu);
}

UiRect CQtUiBackend::GetWorkArea() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return UiRect{0, 0, 1920, 1080};
    }
    const QRect r = screen->availableGeometry();
    return UiRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

UiPoint CQtUiBackend::GetCursorPos() const {
    const QPoint p = QCursor::pos();
    return UiPoint{p.x(), p.y()};
}

MonitorInfo CQtUiBackend::GetMonitorInfo(const CWindowWnd& window) const {
    const QScreen* screen = nullptr;
    if (const CQtWindowHost* host = HostOf(window); host != nullptr && host->Widget() != nullptr) {
        screen = host->Widget()->screen();
    }
    if (screen == nullptr) {
        const UiRect rc = window.GetWindowRect();
        screen = QGuiApplication::screenAt(QPoint(rc.left + rc.GetWidth() / 2, rc.top + rc.GetHeight() / 2));
    }
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return MonitorInfo{UiRect{0, 0, 1920, 1080}, 1.0};
    }
    const double ratio = screen->devicePixelRatio() > 0 ? screen->devicePixelRatio() : 1.0;
    const QRect g = screen->geometry();
    const auto physical = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
    return MonitorInfo{UiRect{physical(g.left()), physical(g.top()), physical(g.left() + g.width()),
                              physical(g.top() + g.height())},
                       ratio};
}

int CQtUiBackend::MeasureTextWidth(const CControlUI& control, std::string_view text) const {
    CPaintManagerUI* manager = control.GetManager();
    if (manager == nullptr) {
        return IUiBackend::MeasureTextWidth(control, text);
    }
    if (const CWindowWnd* window = manager->GetWindow(); window != nullptr) {
        if (const CQtWindowHost* host = HostOf(*window); host != nullptr && host->Renderer() != nullptr) {
            return host->Renderer()->MeasureTextWidth(control, text);
        }
    }
    const QFont font = CWidgetSync::FontFor(control, *manager);
    return QFontMetrics(font).horizontalAdvance(QString::fromStdString(std::string(text)));
}

void CQtUiBackend::SetIconFile(UINT resourceId, const QString& file) {
    m_iconFiles[resourceId] = file;
}

QIcon CQtUiBackend::Icon(UINT resourceId) const {
    const auto it = m_iconFiles.find(resourceId);
    if (it != m_iconFiles.end()) {
        QIcon icon(it->second);
        if (!icon.isNull()) {
            return icon;
        }
    }
    return QApplication::windowIcon();
}

CQtWindowHost* CQtUiBackend::HostOf(const CWindowWnd& window) const {
    const auto it = m_hosts.find(&window);
    return it == m_hosts.end() ? nullptr : it->second;
}

void CQtUiBackend::RegisterHost(const CWindowWnd& window, CQtWindowHost& host) {
    m_hosts[&window] = &host;
}

void CQtUiBackend::UnregisterHost(const CWindowWnd& window) {
    m_hosts.erase(&window);
}

CQtTrayHost* CQtUiBackend::HostOf(const CTrayIcon& tray) const {
    const auto it = m_trayHosts.find(&tray);
    return it == m_trayHosts.end() ? nullptr : it->second;
}

void CQtUiBackend::RegisterHost(const CTrayIcon& tray, CQtTrayHost& host) {
    m_trayHosts[&tray] = &host;
}

void CQtUiBackend::UnregisterHost(const CTrayIcon& tray) {
    m_trayHosts.erase(&tray);
}

}  // namespace zevik

#include "ui/qt/qt_window_host.h"

#include <QWindow>

#include "ui/paint_manager_ui.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/window_impl_base.h"
#include "ui/window_wnd.h"

namespace zevik {

namespace {

std::filesystem::path ImageFolderOf(CWindowWnd& window) {
    std::filesystem::path folder(CPaintManagerUI::GetResourcePath());
    if (auto* skinned = dynamic_cast<WindowImplBase*>(&window)) {
        const std::string sub = skinned->GetSkinFolder();
        if (!sub.empty()) {
            folder /= sub;
        }
    }
    return folder;
}

}  // namespace

CQtWindowHost::CQtWindowHost(CWindowWnd& window, CQtUiBackend& backend)
    : m_window(window), m_backend(backend), m_widget(new CFramelessWindow) {
    m_widget->setAttribute(Qt::WA_DeleteOnClose, false);
    if (window.IsPopupFrame()) m_widget->MakePopup();
    if (CPaintManagerUI* pm = window.GetPaintManager()) {
        m_renderer = std::make_unique<CQtRenderer>(*pm, *m_widget, ImageFolderOf(window));
    }
    QObject::connect(m_widget, &CFramelessWindow::moved, m_widget, [this] { ReportGeometry(); });
    QObject::connect(m_widget, &CFramelessWindow::resized, m_widget, [this] { ReportGeometry(); });
    QObject::connect(m_widget, &CFramelessWindow::closeRequested, m_widget,
                     [this] { m_window.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); });
    QObject::connect(m_widget, &CFramelessWindow::seenChanged, m_widget,
                     [this](bool seen) { m_window.OnHostSeenChanged(seen); });
    m_backend.RegisterHost(m_window, *this);
}

CQtWindowHost::~CQtWindowHost() {
    m_backend.UnregisterHost(m_window);
    m_renderer.reset();
    if (m_widget != nullptr) {
        m_widget->disconnect();
        m_widget->hide();
        // The host may go while one of the window's widgets is handling input (a click that closes
        // the window): the widgets are deleted once control is back in the event loop.
        m_widget->deleteLater();
    }
}

void CQtWindowHost::ApplySkinFrame() {
    CPaintManagerUI* pm = m_window.GetPaintManager();
    if (pm == nullptr || m_widget == nullptr) {
        return;
    }
    const UiRect caption = pm->Scale(pm->GetCaptionRect());
    m_widget->SetCaption(QMargins(caption.left, caption.top, caption.right, caption.bottom));
    const UiSize minSize = pm->GetMinInfo();
    if (minSize.cx > 0 || minSize.cy > 0) {
        m_widget->setMinimumSize(pm->Scale(minSize.cx), pm->Scale(minSize.cy));
    }
}

void CQtWindowHost::ReportGeometry() {
    if (m_applying || m_widget == nullptr) {
        return;
    }
    const QRect g = m_widget->geometry();
    const UiRect rc{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    if (rc != m_window.GetWindowRect()) {
        m_window.OnHostGeometryChanged(rc);
    }
}

void CQtWindowHost::Show(bool show, bool activate) {
    if (m_widget == nullptr) {
        return;
    }
    ApplySkinFrame();
    m_widget->setVisible(show);
    if (show && m_widget->focusWidget() == nullptr) {
        m_widget->setFocus(Qt::OtherFocusReason);
    }
    if (show && activate) {
        m_widget->raise();
        m_widget->activateWindow();
    }
}

void CQtWindowHost::SetWindowRect(const UiRect& rc) {
    if (m_widget == nullptr) {
        return;
    }
    m_applying = true;
    // The skin's limits are scaled lengths: after a DPI change the old minimum would hold the widget at
    // its old size, so it goes first and the limits of the current scale follow.
    m_widget->setMinimumSize(0, 0);
    m_widget->setGeometry(rc.left, rc.top, std::max(0, rc.GetWidth()), std::max(0, rc.GetHeight()));
    ApplySkinFrame();
    m_applying = false;
}

void CQtWindowHost::SetTitle(std::string_view title) {
    if (m_widget != nullptr) {
        m_widget->setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    }
}

void CQtWindowHost::SetIcon(UINT resourceId) {
    if (m_widget != nullptr) {
        m_widget->setWindowIcon(m_backend.Icon(resourceId));
    }
}

void CQtWindowHost::SetModal(bool modal) {
    if (m_widget == nullptr) {
        return;
    }
    // Qt applies a modality change when the window is shown next.
    const bool visible = m_widget->isVisible();
    if (visible) {
        m_widget->hide();
    }
    m_widget->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    if (visible) {
        m_widget->show();
    }
}

void CQtWindowHost::BringToFront() {
    if (m_widget == nullptr) {
        return;
    }
    if (m_widget->isMinimized()) {
        m_widget->showNormal();
    }
    m_widget->show();
    m_widget->raise();
    m_widget->activateWindow();
}

void CQtWindowHost::Invalidate() {
    if (m_widget != nullptr) {
        m_widget->update();
    }
}

void CQtWindowHost::SetShowState(WPARAM sysCommand) {
    if (m_widget == nullptr) {
        return;
    }
    if (!m_widget->isVisible()) {
        // Showing is the window's own decision: a hidden window only takes the state it will show in.
        Qt::WindowStates state = m_widget->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (sysCommand == SC_MINIMIZE) state |= Qt::WindowMinimized;
        if (sysCommand == SC_MAXIMIZE) state |= Qt::WindowMaximized;
        m_widget->setWindowState(state);
        return;
    }
    switch (sysCommand) {
        case SC_MINIMIZE:
            m_widget->showMinimized();
            break;
        case SC_MAXIMIZE:
            m_widget->showMaximized();
            break;
        case SC_RESTORE:
            m_widget->showNormal();
            break;
        default:
            break;
    }
}

}  // namespace zevik

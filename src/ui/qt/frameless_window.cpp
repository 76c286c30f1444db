#include "ui/qt/frameless_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "ui/qt/theme_colors.h"
#include "ui/qt/x11_visibility.h"
namespace zevik {

CFramelessWindow::CFramelessWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_StyledBackground);
    // The window itself holds the focus until the user puts it in a control: no control gets
    // "setfocus" just because the window opened, and a click on the background ends an edit.
    setFocusPolicy(Qt::ClickFocus);
}

QRect CFramelessWindow::CaptionRect() const {
    const int left = m_caption.left();
    const int top = m_caption.top();
    const int right = width() - m_caption.right();
    const int bottom = m_caption.bottom();
    if (right <= left || bottom <= top) {
        return {};
    }
    return QRect(left, top, right - left, bottom - top);
}

void CFramelessWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && CaptionRect().contains(event->position().toPoint())) {
        m_dragging = true;
        m_grabOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    // Presses that reach the window itself are kept, so the moves and the release that follow come
    // here too (the renderer hands them to the control under the pointer).
    event->accept();
}

void CFramelessWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_grabOffset);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CFramelessWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
    }
    QWidget::mouseReleaseEvent(event);
}

void CFramelessWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

void CFramelessWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    emit moved();
}

void CFramelessWindow::MakePopup() {
    m_popup = true;
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
}

void CFramelessWindow::closeEvent(QCloseEvent* event) {
    // Closing is the owner's decision (the main window hides instead of closing, for instance). A
    // popup closed by a click elsewhere is gone already: the owner only hears of it.
    if (m_popup) {
        event->accept();
    } else {
        event->ignore();
    }
    emit closeRequested();
}

void CFramelessWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The native window exists from the first showing on.
    if (QWindow* native = windowHandle(); native != nullptr && native != m_watchedWindow) {
        native->installEventFilter(this);
        m_watchedWindow = native;
        if (!m_popup) {
            CX11Visibility::Instance().Watch(*this, [this](bool covered) {
                m_covered = covered;
                UpdateSeen();
            });
        }
    }
    UpdateSeen();
}

CFramelessWindow::~CFramelessWindow() {
    CX11Visibility::Instance().Unwatch(*this);
}

void CFramelessWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    UpdateSeen();
}

void CFramelessWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        UpdateSeen();
    }
}

bool CFramelessWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_watchedWindow && event->type() == QEvent::Expose) {
        UpdateSeen();  // the window's exposed state is already the new one here
    }
    return QWidget::eventFilter(watched, event);
}

void CFramelessWindow::UpdateSeen() {
    const QWindow* native = windowHandle();
    const bool seen = isVisible() && !isMinimized() && native != nullptr && native->isExposed() && !m_covered;
    if (seen != m_seen) {
        m_seen = seen;
        emit seenChanged(seen);
    }
}

void CFramelessWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), theme::Window());
    p.setPen(theme::Border());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace zevik

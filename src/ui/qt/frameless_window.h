#pragma once
// A top-level window without the system frame. It draws its own caption from the skin and moves when
// the user drags inside the caption area; presses on buttons and other inputs there stay theirs.
// It tells when it comes into or goes out of sight: shown, not minimised, exposed by the windowing
// system (an unmapped window is not exposed) and, on X11, not fully covered by other windows.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QWidget>

namespace zevik {

class CFramelessWindow : public QWidget {
    Q_OBJECT
public:
    explicit CFramelessWindow(QWidget* parent = nullptr);
    ~CFramelessWindow() override;
    // A popup: anchored where the core places it, closed by a click outside it (any platform,
    // Wayland included).
    void MakePopup();

    // Caption area as the skin gives it: left, top and right insets and the caption's bottom edge
    // (a right inset of 0 reaches the right edge). A bottom of 0 turns dragging off.
    void SetCaption(const QMargins& caption) { m_caption = caption; }
    // The caption area resolved against the current window size.
    QRect CaptionRect() const;
    // Whether any of the window can be seen now (see above).
    bool IsSeen() const { return m_seen; }

signals:
    // The window's size or position changed (after the change).
    void resized();
    void moved();
    // The user asked to close the window (system close, Alt+F4); the owner decides what happens.
    void closeRequested();
    // IsSeen() changed.
    void seenChanged(bool seen);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Exposure changes of the window's native window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateSeen();

    QMargins m_caption;
    bool m_dragging = false;
    bool m_popup = false;
    QPoint m_grabOffset;
    bool m_seen = false;
    bool m_covered = false;  // fully covered by other windows (X11 tells)
    QWindow* m_watchedWindow = nullptr;
};

}  // namespace zevik

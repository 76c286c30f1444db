#pragma once
// The widget of every control that the skin draws itself: layouts, labels, image buttons and options,
// list rows and the program's own control classes. It paints, in order, the background colour, the
// background image, the state image (normal, hot, pushed, selected, disabled), the fore image, the
// text and the border, as the renderer sets them from the control.
//
// A widget that is not interactive lets mouse presses through to what lies under it (the window's
// caption drag works across labels and layouts); an interactive one reports clicks.

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace zevik {

struct PaintedLook {
    QColor background;          // invalid: none
    QColor hotBackground;       // background while the pointer is over an interactive widget
    QColor selectedBackground;  // background while selected
    QColor border;
    int borderSize = 0;
    int borderRound = 0;
    QPixmap backgroundImage;
    QPixmap foreImage;
    QPixmap normalImage;
    QPixmap hotImage;
    QPixmap pushedImage;
    QPixmap selectedImage;
    QPixmap disabledImage;
    QString text;
    QStringList columns;  // list rows with several columns: one text per equal-width cell
    QColor textColor;     // invalid: the palette's text colour
    QColor selectedTextColor;  // while selected (invalid: textColor)
    QColor disabledTextColor;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QMargins textPadding;
    bool wordWrap = false;
    bool endEllipsis = false;  // a line too long for its room ends in "…"
};

class CPaintedControlWidget : public QWidget {
    Q_OBJECT
public:
    explicit CPaintedControlWidget(QWidget* parent = nullptr);

    // Repaints only when the look differs from the one shown.
    void SetLook(PaintedLook look);
    // The background colour alone (invalid: none); repaints only when it changed.
    void SetBackground(const QColor& color);
    // The fore image alone; repaints only when it changed.
    void SetForeImage(const QPixmap& image);
    const PaintedLook& Look() const { return m_look; }
    void SetText(const QString& text);
    void SetColumns(const QStringList& columns);
    void SetSelected(bool selected);
    bool IsSelected() const { return m_selected; }
    // Interactive widgets take presses and report clicks; others let presses through.
    void SetInteractive(bool interactive);
    bool IsInteractive() const { return m_interactive; }

signals:
    void clicked();
    void doubleClicked();
    void contextMenuRequested(const QPoint& globalPos);
    void hoverChanged(bool inside);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QPixmap* StateImage() const;

    PaintedLook m_look;
    bool m_selected = false;
    bool m_interactive = false;
    bool m_hover = false;
    bool m_pressed = false;
};

}  // namespace zevik

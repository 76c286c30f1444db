#pragma once
// COpaquePaintedWidget: a painted control that changes its look many times a second (the record
// button's blinking image). It paints every pixel of its rectangle, its rounded corners over a copy
// of what lies beneath it, so Qt repaints it alone and not the page and layouts under it. The copy is
// taken again when something else of the window changed, or the widget moved or was resized.

#include "ui/qt/painted_control_widget.h"

#include <QImage>

namespace zevik {

class COpaquePaintedWidget : public CPaintedControlWidget {
    Q_OBJECT
public:
    explicit COpaquePaintedWidget(QWidget* parent = nullptr);
    ~COpaquePaintedWidget() override;

    // How often the copy of what lies beneath was taken (for the tests of the repaint cost).
    int BackdropCaptures() const { return m_captures; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QImage m_backdrop;
    unsigned m_generation = 0;
    int m_captures = 0;
};

}  // namespace zevik

#pragma once
// A key cap that takes input: hover, press and click, as a push button.
//
// The key paints every pixel of its rectangle (Qt::WA_OpaquePaintEvent): its rounded corners show a
// copy of what lies beneath it (backdrop.h), so a colour change repaints the key alone. The copy is
// taken again whenever the key is repainted for another reason than its own state (an expose, a change
// of the widgets beneath) or moves, and after backdrop::MayHaveChanged.

#include "ui/qt/key_cap_image.h"
#include "ui/qt/key_cap_widget.h"

namespace zevik {

class CKeyButtonWidget : public CKeyCapWidget {
    Q_OBJECT
public:
    explicit CKeyButtonWidget(QWidget* parent = nullptr);
    ~CKeyButtonWidget() override;

    // Times this key copied what lies beneath it.
    int BackdropCaptures() const { return m_backdropCaptures; }

signals:
    void clicked();

protected:
    void CapChanged(bool lookChanged) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Repaints for a change of the key's own state: what lies beneath is unchanged.
    void Repaint();
    KeyCapLook CurrentLook() const;

    bool m_hover = false;
    bool m_pressed = false;
    CKeyCapImage m_image;
    unsigned m_backdropGeneration = 0;  // backdrop::Generation() when the backdrop was copied
    bool m_ownRepaint = false;          // a repaint for the key's own state is pending
    int m_backdropCaptures = 0;
};

}  // namespace zevik

#include "ui/qt/painted_control_widget.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace zevik {

CPaintedControlWidget::CPaintedControlWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_Hover);
}

namespace {

bool SamePixmap(const QPixmap& a, const QPixmap& b) {
    return a.cacheKey() == b.cacheKey() || (a.isNull() && b.isNull());
}

// Whether two looks paint the same (images compare by identity: a copy of the same image is the same).
bool SameLook(const PaintedLook& a, const PaintedLook& b) {
    return a.background == b.background && a.hotBackground == b.hotBackground &&
           a.selectedBackground == b.selectedBackground && a.border == b.border &&
           a.borderSize == b.borderSize && a.borderRound == b.borderRound &&
           SamePixmap(a.backgroundImage, b.backgroundImage) && SamePixmap(a.foreImage, b.foreImage) &&
           SamePixmap(a.normalImage, b.normalImage) && SamePixmap(a.hotImage, b.hotImage) &&
           SamePixmap(a.pushedImage, b.pushedImage) && SamePixmap(a.selectedImage, b.selectedImage) &&
           SamePixmap(a.disabledImage, b.disabledImage) && a.text == b.text && a.columns == b.columns &&
           a.textColor == b.textColor && a.selectedTextColor == b.selectedTextColor &&
           a.disabledTextColor == b.disabledTextColor && a.font == b.font && a.alignment == b.alignment &&
           a.textPadding == b.textPadding && a.wordWrap == b.wordWrap && a.endEllipsis == b.endEllipsis;
}

}  // namespace

void CPaintedControlWidget::SetLook(PaintedLook look) {
    if (SameLook(m_look, look)) {
        return;
    }
    m_look = std::move(look);
    update();
}

void CPaintedControlWidget::SetBackground(const QColor& color) {
    if (m_look.background != color) {
        m_look.background = color;
        update();
    }
}

void CPaintedControlWidget::SetForeImage(const QPixmap& image) {
    if (!SamePixmap(m_look.foreImage, image)) {
        m_look.foreImage = image;
        update();
    }
}

void CPaintedControlWidget::SetText(const QString& text) {
    if (m_look.text != text) {
        m_look.text = text;
        update();
    }
}

void CPaintedControlWidget::SetColumns(const QStringList& columns) {
    if (m_look.columns != columns) {
        m_look.columns = columns;
        update();
    }
}

void CPaintedControlWidget::SetSelected(bool selected) {
    if (m_selected != selected) {
        m_selected = selected;
        update();
    }
}

void CPaintedControlWidget::SetInteractive(bool interactive) {
    m_interactive = interactive;
    setCursor(interactive ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

const QPixmap* CPaintedControlWidget::StateImage() const {
    auto pick = [](const QPixmap& p) { return p.isNull() ? nullptr : &p; };
    if (!isEnabled()) {
        if (auto* p = pick(m_look.disabledImage)) {
            return p;
        }
    }
    if (m_selected) {
        if (auto* p = pick(m_look.selectedImage)) {
            return p;
        }
    }
    if (m_pressed) {
        if (auto* p = pick(m_look.pushedImage)) {
            return p;
        }
    }
    if (m_hover && m_interactive) {
        if (auto* p = pick(m_look.hotImage)) {
            return p;
        }
    }
    return pick(m_look.normalImage);
}

// Painting of a widget whose children (a preview's lights) change many times a second touches only
// their small rectangles: the background fills as a plain rectangle where the rectangle stays clear
// of the rounded corners, and the border, images and text are left out where they lie outside it.
void CPaintedControlWidget::paintEvent(QPaintEvent* event) {
    const QRect dirty = event->rect();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    QColor bk = m_look.background;
    if (m_selected && m_look.selectedBackground.isValid()) {
        bk = m_look.selectedBackground;
    } else if (m_hover && m_interactive && m_look.hotBackground.isValid()) {
        bk = m_look.hotBackground;
    }
    if (bk.isValid() && bk.alpha() > 0) {
        // Away from the edges (one pixel, for the antialiased outline) and from the corners' arcs the
        // rounded shape covers every pixel.
        const int r = m_look.borderRound;
        const QRect inner = rect().adjusted(1, 1, -1, -1);
        if (inner.adjusted(r, 0, -r, 0).contains(dirty) || inner.adjusted(0, r, 0, -r).contains(dirty)) {
            p.fillRect(dirty, bk);
        } else {
            QPainterPath shape;
            const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
            shape.addRoundedRect(box, r, r);
            p.fillPath(shape, bk);
        }
    }
    if (!m_look.backgroundImage.isNull()) {
        p.drawPixmap(rect(), m_look.backgroundImage);
    }
    if (const QPixmap* state = StateImage()) {
        p.drawPixmap(rect(), *state);
    }
    if (!m_look.foreImage.isNull()) {
        p.drawPixmap(rect(), m_look.foreImage);
    }
    const QRect textRect = rect().marginsRemoved(m_look.textPadding);
    if ((!m_look.text.isEmpty() || !m_look.columns.isEmpty()) && textRect.intersects(dirty)) {
        QColor color = m_look.textColor.isValid() ? m_look.textColor : palette().color(QPalette::WindowText);
        if (m_selected && m_look.selectedTextColor.isValid()) {
            color = m_look.selectedTextColor;
        }
        if (!isEnabled()) {
            color = m_look.disabledTextColor.isValid()
                        ? m_look.disabledTextColor
                        : palette().color(QPalette::Disabled, QPalette::WindowText);
        }
        p.setPen(color);
        p.setFont(m_look.font);
        Qt::Alignment align = m_look.alignment;
        const int flags = static_cast<int>(align) | (m_look.wordWrap ? Qt::TextWordWrap : 0);
        if (m_look.columns.size() > 1) {
            const int cell = textRect.width() / static_cast<int>(m_look.columns.size());
            for (int i = 0; i < m_look.columns.size(); ++i) {
                const QRect cellRect(textRect.left() + i * cell, textRect.top(), cell, textRect.height());
                p.drawText(cellRect, flags, m_look.columns[i]);
            }
        } else if (m_look.endEllipsis && !m_look.wordWrap) {
            p.drawText(textRect, flags,
                       QFontMetrics(m_look.font).elidedText(m_look.text, Qt::ElideRight, textRect.width()));
        } else {
            p.drawText(textRect, flags, m_look.text);
        }
    }
    const int band = m_look.borderSize + m_look.borderRound + 1;  // the border and its corners' arcs
    const bool touchesBorder = !rect().adjusted(band, band, -band, -band).contains(dirty);
    if (m_look.borderSize > 0 && m_look.border.isValid() && touchesBorder) {
        p.setPen(QPen(m_look.border, m_look.borderSize));
        p.setBrush(Qt::NoBrush);
        const qreal inset = m_look.borderSize / 2.0;
        p.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), m_look.borderRound,
                          m_look.borderRound);
    }
}

void CPaintedControlWidget::mousePressEvent(QMouseEvent* event) {
    if (!m_interactive || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = true;
    update();
}

void CPaintedControlWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_interactive || event->button() != Qt::LeftButton || !m_pressed) {
        event->ignore();
        return;
    }
    m_pressed = false;
    update();
    if (rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void CPaintedControlWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!m_interactive || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    emit doubleClicked();
}

void CPaintedControlWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_interactive) {
        event->ignore();
        return;
    }
    emit contextMenuRequested(event->globalPos());
}

void CPaintedControlWidget::enterEvent(QEnterEvent*) {
    m_hover = true;
    if (m_interactive) {
        update();
    }
    emit hoverChanged(true);
}

void CPaintedControlWidget::leaveEvent(QEvent*) {
    m_hover = false;
    m_pressed = false;
    if (m_interactive) {
        update();
    }
    emit hoverChanged(false);
}

}  // namespace zevik

#include "ui/qt/light_layer_widget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <cstring>
#include <utility>

#include "ui/qt/backdrop.h"
#include "ui/qt/light_widget.h"

namespace zevik {

CLightLayerWidget& CLightLayerWidget::Of(QWidget& parent) {
    if (auto* layer = parent.findChild<CLightLayerWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        return *layer;
    }
    return *new CLightLayerWidget(parent);
}

void CLightLayerWidget::Restack(QWidget& parent) {
    if (auto* layer = parent.findChild<CLightLayerWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        layer->StackAboveLights();
    }
}

CLightLayerWidget::CLightLayerWidget(QWidget& parent) : QWidget(&parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);  // the keys and picture beneath take the input
    hide();
    backdrop::Watch(*this);
}

CLightLayerWidget::~CLightLayerWidget() {
    backdrop::Unwatch(*this);
}

void CLightLayerWidget::Add(CLightWidget& light) {
    light.m_slot = static_cast<int>(m_entries.size());
    m_entries.push_back(Entry{&light, {}, true});
    StackAboveLights();
    LightsRearranged();
}

void CLightLayerWidget::Remove(CLightWidget& light) {
    const int slot = light.m_slot;
    if (slot < 0 || slot >= static_cast<int>(m_entries.size()) || m_entries[slot].light != &light) {
        return;
    }
    m_entries.erase(m_entries.begin() + slot);
    for (std::size_t i = static_cast<std::size_t>(slot); i < m_entries.size(); ++i) {
        m_entries[i].light->m_slot = static_cast<int>(i);
    }
    light.m_slot = -1;
    if (m_hovered == &light) {
        HoverOver(nullptr);
    }
    if (m_pressed == &light) {
        m_pressed = nullptr;
    }
    InputChanged();
    LightsRearranged();
}

void CLightLayerWidget::InputChanged() {
    bool anyInput = false;
    for (const Entry& entry : m_entries) {
        anyInput = anyInput || entry.light->TakesInput();
    }
    setAttribute(Qt::WA_TransparentForMouseEvents, !anyInput);
    setMouseTracking(anyInput);
    if (!anyInput) {
        HoverOver(nullptr);
        m_pressed = nullptr;
    }
}

CLightWidget* CLightLayerWidget::LightAt(const QPoint& pos, bool inputOnly) const {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        CLightWidget* light = it->light;
        if (light->IsWanted() && (!inputOnly || (light->TakesInput() && light->isEnabled())) &&
            RectOf(*light).contains(pos)) {
            return light;
        }
    }
    return nullptr;
}

void CLightLayerWidget::HoverOver(CLightWidget* light) {
    if (m_hovered == light) {
        return;
    }
    if (CLightWidget* old = m_hovered.data()) {
        old->m_hover = false;
        LightChanged(*old);
    }
    m_hovered = light;
    if (light != nullptr) {
        light->m_hover = true;
        LightChanged(*light);
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
}

void CLightLayerWidget::mouseMoveEvent(QMouseEvent* event) {
    HoverOver(LightAt(event->position().toPoint(), true));
    event->ignore();
}

void CLightLayerWidget::leaveEvent(QEvent* /*event*/) {
    HoverOver(nullptr);
}

void CLightLayerWidget::mousePressEvent(QMouseEvent* event) {
    CLightWidget* light = LightAt(event->position().toPoint(), true);
    if (event->button() != Qt::LeftButton || light == nullptr) {
        event->ignore();  // beside the keys: the parent's
        return;
    }
    m_pressed = light;
    light->m_pressed = true;
    LightChanged(*light);
}

void CLightLayerWidget::mouseReleaseEvent(QMouseEvent* event) {
    CLightWidget* pressed = m_pressed.data();
    if (event->button() != Qt::LeftButton || pressed == nullptr) {
        event->ignore();
        return;
    }
    m_pressed = nullptr;
    pressed->m_pressed = false;
    LightChanged(*pressed);
    // A press that ends outside its key is a cancelled click, as with a push button.
    if (LightAt(event->position().toPoint(), true) == pressed) {
        emit pressed->clicked();
    }
}

bool CLightLayerWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const CLightWidget* light = LightAt(help->pos(), false);
        if (light != nullptr && !light->toolTip().isEmpty()) {
            QToolTip::showText(help->globalPos(), light->toolTip(), this, RectOf(*light));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void CLightLayerWidget::StackAboveLights() {
    QWidget* parent = parentWidget();
    QWidget* next = nullptr;  // the first widget stacked above the topmost light
    bool afterLight = false;
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w == nullptr || w == this) {
            continue;
        }
        if (qobject_cast<CLightWidget*>(w) != nullptr) {
            afterLight = true;
            next = nullptr;
        } else if (afterLight && next == nullptr) {
            next = w;
        }
    }
    if (next != nullptr) {
        stackUnder(next);
    } else {
        raise();
    }
}

QRect CLightLayerWidget::RectOf(const CLightWidget& light) const {
    return light.Placed().translated(-pos());
}

void CLightLayerWidget::LightChanged(CLightWidget& light) {
    const int slot = light.m_slot;
    if (slot < 0 || slot >= static_cast<int>(m_entries.size())) {
        return;
    }
    m_entries[slot].dirty = true;
    if (!light.IsWanted() || isHidden()) {
        return;
    }
    m_changed |= RectOf(light);
    if (!m_repaintPosted) {
        // A frame recolours every light: one rectangle around the changed ones is one request, one
        // clip and one transfer to the display server, where a rectangle per light would be a region
        // merged light by light and a transfer each.
        m_repaintPosted = true;
        QMetaObject::invokeMethod(this, &CLightLayerWidget::RepaintChanged, Qt::QueuedConnection);
    }
}

void CLightLayerWidget::RepaintChanged() {
    m_repaintPosted = false;
    m_own |= m_changed;
    update(m_changed);
    m_changed = QRect();
}

void CLightLayerWidget::LightsRearranged() {
    QRect bounds;
    for (const Entry& entry : m_entries) {
        if (entry.light->IsWanted() && !entry.light->Placed().isEmpty()) {
            bounds |= entry.light->Placed();
        }
    }
    if (bounds.isEmpty()) {
        hide();
        return;
    }
    if (geometry() != bounds) {
        setGeometry(bounds);
    }
    if (isHidden()) {
        show();
    }
    update();  // everything: lights appeared, went or moved
}

void CLightLayerWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    m_backdrop = QImage();
}

void CLightLayerWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_backdrop = QImage();
}

void CLightLayerWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_backdrop = QImage();
}

void CLightLayerWidget::CaptureBackdrop(const QSize& pixels, qreal ratio) {
    m_backdrop = backdrop::Capture(*this, pixels, ratio);
    // The window is opaque: in the backing store's own format a repaint is a plain copy.
    m_picture = m_backdrop.convertToFormat(QImage::Format_RGB32);
    m_backdropGeneration = backdrop::Generation();
    ++m_backdropCaptures;
    for (Entry& entry : m_entries) {
        entry.image.DropBackdrop();
    }
}

QRect CLightLayerWidget::PixelRect(const QRect& rect, qreal ratio) {
    return QRect((QPointF(rect.topLeft()) * ratio).toPoint(), (QSizeF(rect.size()) * ratio).toSize());
}

void CLightLayerWidget::ComposeLight(Entry& entry, qreal ratio) {
    entry.dirty = false;
    const CLightWidget& light = *entry.light;
    const QRect rect = RectOf(light);
    const QRect pixels = PixelRect(rect, ratio).intersected(m_picture.rect());
    if (pixels.isEmpty() || pixels.size() != PixelRect(rect, ratio).size()) {
        return;  // not inside the layer (yet)
    }
    KeyCapLook look;
    look.selected = light.IsSelected();
    look.hover = light.IsHovered();
    look.pressed = light.IsPressed();
    look.enabled = light.isEnabled();
    look.text = light.Text();
    look.font = light.font();
    entry.image.SetLook(look);
    if (!entry.image.HasBackdrop(pixels.size(), ratio)) {
        QImage part = m_backdrop.copy(pixels);
        part.setDevicePixelRatio(ratio);
        entry.image.SetBackdrop(std::move(part));
    }
    const QImage& cap = entry.image.Compose(QSizeF(rect.size()), ratio, light.LitColor(), light.Intensity());
    const auto rowBytes = static_cast<std::size_t>(pixels.width()) * sizeof(QRgb);
    const auto stride = static_cast<std::size_t>(m_picture.bytesPerLine());
    uchar* into = m_picture.bits() + static_cast<std::size_t>(pixels.top()) * stride +
                  static_cast<std::size_t>(pixels.left()) * sizeof(QRgb);
    for (int y = 0; y < pixels.height(); ++y, into += stride) {
        std::memcpy(into, cap.constScanLine(y), rowBytes);
    }
}

void CLightLayerWidget::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixels.isEmpty()) {
        return;
    }
    // Anything but changed lights asked for this paint: what lies beneath may have changed. (A widget
    // beneath that changes its look repaints the layer through backdrop::Changed.)
    const bool foreign = !m_own.contains(event->rect());
    m_own = QRect();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (foreign || m_backdropGeneration != backdrop::Generation() || m_backdrop.size() != pixels ||
        m_backdrop.devicePixelRatio() != ratio) {
        CaptureBackdrop(pixels, ratio);
        for (Entry& entry : m_entries) {
            if (entry.light->IsWanted()) {
                ComposeLight(entry, ratio);
            }
        }
        painter.drawImage(QPointF(0, 0), m_picture);  // clipped to the event's region
        return;
    }
    // Between the changed lights the backing store keeps what the layer painted last. A picture per
    // light: Qt splits a large picture between threads, which costs more than it saves here.
    for (Entry& entry : m_entries) {
        if (entry.dirty && entry.light->IsWanted()) {
            ComposeLight(entry, ratio);
            const QRect rect = RectOf(*entry.light);
            painter.drawImage(QRectF(rect), m_picture, QRectF(PixelRect(rect, ratio)));
        }
    }
}

}  // namespace zevik

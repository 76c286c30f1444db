#include "ui/qt/backdrop.h"

#include <QWidget>
#include <algorithm>
#include <vector>

namespace zevik::backdrop {

namespace {

unsigned s_generation = 0;
std::vector<QWidget*> s_holders;

QRect InWindow(const QWidget& widget) {
    return QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
}

}  // namespace

void MayHaveChanged() {
    ++s_generation;
}

void Changed(const QWidget& widget) {
    ++s_generation;
    if (s_holders.empty() || !widget.isVisible()) {
        return;
    }
    const QRect changed = InWindow(widget);
    for (QWidget* holder : s_holders) {
        if (holder != &widget && holder->isVisible() && holder->window() == widget.window() &&
            InWindow(*holder).intersects(changed)) {
            holder->update();
        }
    }
}

void Watch(QWidget& holder) {
    s_holders.push_back(&holder);
}

void Unwatch(QWidget& holder) {
    std::erase(s_holders, &holder);
}

unsigned Generation() {
    return s_generation;
}

QImage Capture(QWidget& widget, const QSize& pixels, qreal ratio) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    std::vector<QWidget*> chain;
    for (QWidget* w = &widget; !w->isWindow() && w->parentWidget() != nullptr; w = w->parentWidget()) {
        chain.push_back(w->parentWidget());
    }
    std::reverse(chain.begin(), chain.end());
    chain.push_back(&widget);
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        QWidget* ancestor = chain[i];
        const QRect here(widget.mapTo(ancestor, QPoint(0, 0)), widget.size());
        ancestor->render(&image, QPoint(0, 0), QRegion(here), QWidget::DrawWindowBackground);
        for (QObject* child : ancestor->children()) {
            if (child == chain[i + 1]) {
                break;
            }
            auto* sibling = qobject_cast<QWidget*>(child);
            if (sibling == nullptr || sibling->isWindow() || sibling->isHidden() ||
                !sibling->geometry().intersects(here)) {
                continue;
            }
            sibling->render(&image, QPoint(0, 0), QRegion(here.translated(-sibling->pos())),
                            QWidget::DrawWindowBackground | QWidget::DrawChildren);
        }
    }
    return image;
}

}  // namespace zevik::backdrop

#include "ui/qt/text_metrics.h"

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>

namespace zevik {

namespace {

// Wide enough that no style's padding and frame can swallow it.
constexpr int kProbeWidth = 1000;

int ChromeOf(QWidget& widget, QStyle::SubElement contents) {
    QStyleOptionButton option;
    option.initFrom(&widget);
    option.rect = QRect(0, 0, kProbeWidth, std::max(widget.height(), 32));
    const QRect inner = widget.style()->subElementRect(contents, &option, &widget);
    return inner.isValid() ? kProbeWidth - inner.width() : 0;
}

}  // namespace

int TextChrome(QWidget& widget, WidgetKind kind) {
    widget.ensurePolished();
    switch (kind) {
        case WidgetKind::Button:
        case WidgetKind::Option:
            return ChromeOf(widget, QStyle::SE_PushButtonContents);
        case WidgetKind::CheckBox:
            return ChromeOf(widget, QStyle::SE_CheckBoxContents);
        default:
            return 0;
    }
}

int TextAdvance(QWidget& widget, const QString& text) {
    widget.ensurePolished();
    return QFontMetrics(widget.font()).horizontalAdvance(text);
}

}  // namespace zevik

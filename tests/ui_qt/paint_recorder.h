#pragma once
// Records what the widgets of one top-level widget repaint, in that widget's coordinates: the region
// painted and the number of paint events per widget. Widgets created after it are not watched.

#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>
#include <map>

namespace zevik::test {

class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& top) : m_top(top) {
        top.installEventFilter(this);
        for (QWidget* w : top.findChildren<QWidget*>()) {
            w->installEventFilter(this);
        }
    }
    int PaintsOf(const QWidget* w) const {
        const auto it = paints.find(w);
        return it == paints.end() ? 0 : it->second;
    }

    QRegion painted;
    std::map<const QWidget*, int> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* w = static_cast<QWidget*>(watched);
            painted += static_cast<QPaintEvent*>(event)->region().translated(w->mapTo(&m_top, QPoint(0, 0)));
            ++paints[w];
        }
        return false;
    }

private:
    QWidget& m_top;
};

}  // namespace zevik::test

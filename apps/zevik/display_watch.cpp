#include "display_watch.h"

#include <QGuiApplication>
#include <QScreen>

namespace zevik {

namespace {

void WatchScreen(QScreen* screen, QObject* watch, const std::shared_ptr<std::function<void()>>& onChange) {
    QObject::connect(screen, &QScreen::geometryChanged, watch, [onChange] { (*onChange)(); });
}

}  // namespace

std::unique_ptr<QObject> WatchDisplays(std::function<void()> onChange) {
    // Every connection has the watch as its context: they all end with it.
    auto watch = std::make_unique<QObject>();
    QObject* context = watch.get();
    auto shared = std::make_shared<std::function<void()>>(std::move(onChange));
    for (QScreen* screen : QGuiApplication::screens()) {
        WatchScreen(screen, context, shared);
    }
    QObject::connect(qApp, &QGuiApplication::screenAdded, context, [context, shared](QScreen* screen) {
        WatchScreen(screen, context, shared);
        (*shared)();
    });
    QObject::connect(qApp, &QGuiApplication::screenRemoved, context, [shared](QScreen*) { (*shared)(); });
    QObject::connect(qApp, &QGuiApplication::primaryScreenChanged, context,
                     [shared](QScreen*) { (*shared)(); });
    return watch;
}

}  // namespace zevik

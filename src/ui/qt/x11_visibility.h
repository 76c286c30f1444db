#pragma once
// Whether an X11 window is fully covered by others. Qt tells when a window is unmapped (minimised),
// not when it is covered; X does, to a client that asks for visibility events on its window. This asks
// for them on the windows it watches (keeping the events Qt asked for) and reports each change.
// Elsewhere (Wayland, offscreen) it watches nothing and a window never counts as covered; a compositing
// X window manager never reports a window as covered either.

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <functional>
#include <map>

class QWidget;

namespace zevik {

class CX11Visibility : public QAbstractNativeEventFilter {
public:
    using Callback = std::function<void(bool covered)>;

    // The process's watcher (installed on the application at first use).
    static CX11Visibility& Instance();

    // Watches the native window of top (created when missing); false where X11 is not in use.
    bool Watch(QWidget& top, Callback onChange);
    void Unwatch(QWidget& top);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    CX11Visibility() = default;
    std::map<unsigned, Callback> m_watched;  // by X window id
};

}  // namespace zevik

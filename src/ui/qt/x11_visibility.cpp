#include "ui/qt/x11_visibility.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <memory>

namespace zevik {

namespace {

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

}  // namespace

CX11Visibility& CX11Visibility::Instance() {
    static CX11Visibility* instance = [] {
        auto* watcher = new CX11Visibility;  // lives as long as the application's filters
        if (qGuiApp != nullptr) {
            qGuiApp->installNativeEventFilter(watcher);
        }
        return watcher;
    }();
    return *instance;
}

bool CX11Visibility::Watch(QWidget& top, Callback onChange) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        return false;
    }
    const auto window = static_cast<xcb_window_t>(top.winId());
    // Adds the visibility events to those Qt selected: setting the mask replaces it.
    const xcb_get_window_attributes_cookie_t cookie = xcb_get_window_attributes(connection, window);
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection, cookie, nullptr), &std::free);
    if (attributes == nullptr) {
        return false;
    }
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE;
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    m_watched[window] = std::move(onChange);
    return true;
}

void CX11Visibility::Unwatch(QWidget& top) {
    if (top.internalWinId() != 0) {
        m_watched.erase(static_cast<unsigned>(top.internalWinId()));
    }
}

bool CX11Visibility::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_VISIBILITY_NOTIFY) {
        return false;
    }
    const auto* visibility = static_cast<const xcb_visibility_notify_event_t*>(message);
    const auto it = m_watched.find(visibility->window);
    if (it != m_watched.end()) {
        it->second(visibility->state == XCB_VISIBILITY_FULLY_OBSCURED);
    }
    return false;  // Qt may want it too
}

}  // namespace zevik

#include "forms/nativepointer.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace forms::nativepointer {

std::optional<QPoint> inWindow(const QWindow* window) {
    if (window == nullptr || window->handle() == nullptr || !window->isExposed()) {
        return std::nullopt;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return std::nullopt;
    }
    xcb_connection_t* connection = x11->connection();
    const auto native = static_cast<xcb_window_t>(window->winId());
    // The server answers in the window's own device pixels, whatever Qt's
    // scaling makes of them.
    const std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, native), nullptr),
        &std::free);
    if (!reply || reply->same_screen == 0) {
        return std::nullopt;
    }
    return QPoint(reply->win_x, reply->win_y);
}

} // namespace forms::nativepointer

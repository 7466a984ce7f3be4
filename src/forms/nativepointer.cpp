#include "forms/nativepointer.h"

#include "forms/x11connection.h"

#include <QWindow>

namespace forms::nativepointer {

std::optional<QPoint> inWindow(const QWindow* window) {
    if (window == nullptr || window->handle() == nullptr || !window->isExposed()) {
        return std::nullopt;
    }
    xcb_connection_t* connection = x11::connection();
    if (connection == nullptr) {
        return std::nullopt;
    }
    const auto native = static_cast<xcb_window_t>(window->winId());
    // The server answers in the window's own device pixels, whatever Qt's
    // scaling makes of them.
    const auto reply = x11::owned(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, native), nullptr));
    if (!reply || reply->same_screen == 0) {
        return std::nullopt;
    }
    return QPoint(reply->win_x, reply->win_y);
}

} // namespace forms::nativepointer

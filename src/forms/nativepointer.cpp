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
    // The server answers in the window's own device pixels, whatever Qt's
    // scaling makes of them.
    const auto pointer = x11::pointer(connection, static_cast<xcb_window_t>(window->winId()));
    return pointer ? pointer->inWindow : std::nullopt;
}

} // namespace forms::nativepointer

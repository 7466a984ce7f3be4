#pragma once

#include <QGuiApplication>

#include <QPoint>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>

// The X server connection that Qt hands out publicly, for what Qt has no
// public call for.
namespace forms::x11 {

// Null where the platform is not X11.
inline xcb_connection_t* connection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

// An xcb reply, which the caller must free with std::free.
template <typename Reply> using OwnedReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> OwnedReply<Reply> owned(Reply* reply) {
    return {reply, &std::free};
}

// The pointer's hot spot in `window`, device pixels, as the server sees it;
// nothing while the pointer is on another X screen, whose root has
// coordinates of its own.
inline std::optional<QPoint> pointerIn(xcb_connection_t* connection, xcb_window_t window) {
    const auto reply =
        owned(xcb_query_pointer_reply(connection, xcb_query_pointer(connection, window), nullptr));
    if (!reply || reply->same_screen == 0) {
        return std::nullopt;
    }
    return QPoint(reply->win_x, reply->win_y);
}

// The root window of the X screen that holds `window`.
inline std::optional<xcb_window_t> rootOf(xcb_connection_t* connection, xcb_window_t window) {
    const auto reply =
        owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!reply) {
        return std::nullopt;
    }
    return reply->root;
}

} // namespace forms::x11

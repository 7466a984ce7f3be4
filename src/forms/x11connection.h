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

// The pointer as the server sees it, in device pixels: the root window of the
// screen that holds `window`, the hot spot on that root, and in `window` when
// the pointer is on the same screen.
struct Pointer {
    xcb_window_t root = 0;
    QPoint onRoot;
    std::optional<QPoint> inWindow;
};

inline std::optional<Pointer> pointer(xcb_connection_t* connection, xcb_window_t window) {
    const auto reply =
        owned(xcb_query_pointer_reply(connection, xcb_query_pointer(connection, window), nullptr));
    if (!reply) {
        return std::nullopt;
    }
    Pointer answer{reply->root, QPoint(reply->root_x, reply->root_y), std::nullopt};
    if (reply->same_screen != 0) {
        answer.inWindow = QPoint(reply->win_x, reply->win_y);
    }
    return answer;
}

} // namespace forms::x11

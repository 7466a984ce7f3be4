#pragma once

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

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

} // namespace forms::x11

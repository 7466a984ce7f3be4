#pragma once

#include <QRect>

#include <xcb/xcb.h>

#include <optional>

class QScreen;

namespace forms::x11 {

// The device pixels a screen covers on the root window of its X screen, as
// the X server counts them: Qt gives screens in logical pixels only, rounded,
// which at a fractional scale can be a device pixel off. Nothing where the
// server names no such monitor and the root is shared with other screens.
std::optional<QRect> monitorArea(xcb_connection_t* connection, xcb_window_t root,
                                 const QScreen& screen);

} // namespace forms::x11

#pragma once

#include <QMargins>

#include <optional>

class QWidget;

// The frame the window manager puts around a top-level window, in device
// pixels, known before the window is first mapped so that it can appear in
// its place frame and all. An EWMH window manager estimates it on request
// (_NET_REQUEST_FRAME_EXTENTS). Empty where the platform is not X11, where no
// window manager answers such requests (a bare X server puts no frame
// around windows), or where the answer does not come within a second.
namespace forms::frameextents {

std::optional<QMargins> of(QWidget* window);

} // namespace forms::frameextents

#pragma once

#include <QPoint>

#include <optional>

class QWindow;

// Where the pointer's hot spot is, in device pixels of a window, read from the
// window system. Qt hands widgets pointer positions converted to logical
// pixels by way of the window's logical position, which is itself rounded at
// fractional scale factors; only the window system's own numbers name the
// device pixel under the hot spot without doubt. Empty where the platform
// keeps no pointer (offscreen) or the window is not on screen.
namespace forms::nativepointer {

std::optional<QPoint> inWindow(const QWindow* window);

} // namespace forms::nativepointer

#pragma once

#include <QPoint>

#include <optional>

class QMouseEvent;
class QWidget;
class QWindow;

// The device pixel under the pointer's hot spot. Qt hands widgets pointer
// positions converted to logical pixels by way of the window's logical
// position, which is itself rounded at fractional scale factors; only the
// window system's own numbers name the device pixel under the hot spot
// without doubt.
namespace forms::pointerpixel {

// Read from the window system, in device pixels of a window. Empty where the
// platform keeps no pointer (offscreen) or the window is not on screen.
std::optional<QPoint> fromWindowSystem(const QWindow* window);

// The device pixel of the widget's window under the hot spot of a mouse
// event: the event's window-relative scene position, which keeps the
// fraction that Qt rounds off the widget-relative position, unless it carries
// no scene position of its own. The first event after the pointer comes in
// (justEntered) carries a position Qt worked out from the window's rounded
// logical position, and a window across monitors of different densities gets
// positions Qt mapped through the wrong monitor; for those the window system
// says which pixel it is, if it agrees within a logical pixel. An event made
// by hand (a test's) is taken at its own word.
QPoint underPointer(const QWidget& widget, const QMouseEvent& event, bool justEntered);

} // namespace forms::pointerpixel

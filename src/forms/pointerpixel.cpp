#include "forms/pointerpixel.h"

#include "forms/devicepixels.h"
#include "forms/x11connection.h"

#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace forms::pointerpixel {

std::optional<QPoint> fromWindowSystem(const QWindow* window) {
    if (window == nullptr || window->handle() == nullptr || !window->isExposed()) {
        return std::nullopt;
    }
    xcb_connection_t* connection = x11::connection();
    if (connection == nullptr) {
        return std::nullopt;
    }
    // The server answers in the window's own device pixels, whatever Qt's
    // scaling makes of them.
    return x11::pointerIn(connection, static_cast<xcb_window_t>(window->winId()));
}

namespace {

// Whether the widget's window reaches beyond its monitor, measured in that
// monitor's own logical pixels.
bool acrossMonitors(const QWidget& widget) {
    const QWidget* window = widget.window();
    const QScreen* screen = window->screen();
    return screen != nullptr && !screen->geometry().contains(window->geometry());
}

} // namespace

QPoint underPointer(const QWidget& widget, const QMouseEvent& event, bool justEntered) {
    const double ratio = widget.devicePixelRatioF();
    const QPointF offset(widget.mapTo(widget.window(), QPoint(0, 0)));
    const QPointF fromScene = event.scenePosition();
    const QPointF fromLocal = event.position() + offset;
    // Qt rounds the widget-relative position to the nearest logical pixel,
    // so a scene position of the same event lies within half a pixel of it
    // on each axis; one further off was not worked out for this window.
    constexpr double HalfPixel = 0.5 + 1.0 / 1024;
    const QPointF rounding = fromScene - fromLocal;
    const bool sceneAgrees =
        std::abs(rounding.x()) <= HalfPixel && std::abs(rounding.y()) <= HalfPixel;
    // Qt's numbers miss the device pixel on the first event after the
    // pointer comes in, by up to a logical pixel: there the window system
    // says which pixel it is, if it agrees with the event within that. In a
    // window across monitors of different densities, whose positions Qt
    // maps through the monitor under the pointer, either position may be far
    // off, even where the two agree: there the window system's word stands.
    const bool trustQt = sceneAgrees && !acrossMonitors(widget);
    if ((justEntered || !trustQt) && event.spontaneous()) {
        const auto native = fromWindowSystem(widget.window()->windowHandle());
        const QPointF inWindow = sceneAgrees ? fromScene : fromLocal;
        if (native && (!trustQt || (std::abs(native->x() / ratio - inWindow.x()) <= 1.0 &&
                                    std::abs(native->y() / ratio - inWindow.y()) <= 1.0))) {
            return *native;
        }
    }
    return devicepixels::pixelAt(sceneAgrees ? fromScene : fromLocal, ratio);
}

} // namespace forms::pointerpixel

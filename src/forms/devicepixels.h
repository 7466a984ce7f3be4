#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>

#include <cmath>

// The one place that turns device-independent pixels into device pixels and
// back. An edge lands where the raster engine rounds it: it fills the pixels
// from round(start) up to round(end), and everything that lines up with what
// it paints rounds the same way. A point belongs to the pixel that holds it.
namespace forms::devicepixels {

// The pixel boundary nearest to an edge already in device coordinates.
inline int edge(double device) {
    return static_cast<int>(std::floor(device + 0.5));
}
inline QPoint edge(QPointF device) {
    return {edge(device.x()), edge(device.y())};
}
// The same for an edge in logical pixels at a device pixel ratio.
inline int edge(double logical, double ratio) {
    return edge(logical * ratio);
}

// The device pixel that holds a point already in device coordinates.
inline int pixelAt(double device) {
    // Whole device pixels divided by the ratio and multiplied again come back
    // within this.
    constexpr double Tolerance = 1.0 / 1024;
    return static_cast<int>(std::floor(device + Tolerance));
}
// The device pixel that holds a point given in logical pixels.
inline int pixelAt(double logical, double ratio) {
    return pixelAt(logical * ratio);
}
inline QPoint pixelAt(QPointF logical, double ratio) {
    return {pixelAt(logical.x(), ratio), pixelAt(logical.y(), ratio)};
}

// The smallest rectangle of device pixels that covers the logical pixels.
inline QRect deviceCover(const QRect& logical, double ratio) {
    return {QPoint(static_cast<int>(std::floor(logical.left() * ratio)),
                   static_cast<int>(std::floor(logical.top() * ratio))),
            QPoint(static_cast<int>(std::ceil((logical.right() + 1) * ratio)) - 1,
                   static_cast<int>(std::ceil((logical.bottom() + 1) * ratio)) - 1)};
}

// The smallest rectangle of logical pixels that covers the device pixels.
inline QRect logicalCover(const QRect& device, double ratio) {
    return {QPoint(static_cast<int>(std::floor(device.left() / ratio)),
                   static_cast<int>(std::floor(device.top() / ratio))),
            QPoint(static_cast<int>(std::ceil((device.right() + 1) / ratio)),
                   static_cast<int>(std::ceil((device.bottom() + 1) / ratio)))};
}

} // namespace forms::devicepixels

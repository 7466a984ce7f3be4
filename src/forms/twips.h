#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Layout lives in twips, as the form designer stored it; this is the one place
// that turns twips into device-independent pixels.
namespace forms::twips {

constexpr int TwipsPerPixel = 15;

constexpr int toPixels(int twips) {
    return twips / TwipsPerPixel;
}
constexpr int fromPixels(int pixels) {
    return pixels * TwipsPerPixel;
}

inline QPoint toPixels(int left, int top) {
    return {toPixels(left), toPixels(top)};
}
inline QSize toPixelSize(int width, int height) {
    return {toPixels(width), toPixels(height)};
}

} // namespace forms::twips

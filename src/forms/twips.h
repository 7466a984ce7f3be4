#pragma once

#include <QPoint>
#include <QSize>

#include <cmath>

// Layout lives in twips, as the form designer stored it; this is the one place
// that turns twips into device-independent pixels and back.
namespace forms::twips {

constexpr int TwipsPerPixel = 15;

// To the nearest whole pixel: every twips value of a layout is a whole number
// of pixels, and a size asked for in between goes to the closer one.
inline int toPixels(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
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

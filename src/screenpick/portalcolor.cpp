#include "screenpick/portalcolor.h"

#include <cmath>

namespace screenpick::portalcolor {

int channelFromPortal(double value) {
    constexpr double Full = 255.0;
    // Also false for NaN, which has no nearest channel.
    if (!(value > 0.0)) {
        return 0;
    }
    if (value >= 1.0) {
        return static_cast<int>(Full);
    }
    return static_cast<int>(std::lround(value * Full));
}

QRgb colorFromPortal(double red, double green, double blue) {
    return qRgb(channelFromPortal(red), channelFromPortal(green), channelFromPortal(blue));
}

} // namespace screenpick::portalcolor

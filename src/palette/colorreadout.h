#pragma once

#include "colorvalue.h"

#include <QString>

// The status line's description of a picked colour.
namespace palette::readout {

struct Channels {
    int32_t red, green, blue;
};

// Splits a colour value into red, green and blue with signed division that
// truncates toward zero: -1 gives 255, 0, 0.
Channels split(forms::ColorValue color);

// " Current Color: RGB(r,g,b) = &H" followed by the hexadecimal text.
QString statusText(Channels channels, const QString& hex);

} // namespace palette::readout

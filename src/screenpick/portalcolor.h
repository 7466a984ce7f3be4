#pragma once

#include <QColor>

// The desktop portal answers a picked colour as three doubles from 0 to 1;
// each becomes the nearest 8-bit channel (0.5 is 128, not 127), and a value
// out of range or not a number is held to the range.
namespace screenpick::portalcolor {

int channelFromPortal(double value);
QRgb colorFromPortal(double red, double green, double blue);

} // namespace screenpick::portalcolor

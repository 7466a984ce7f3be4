#pragma once

#include "forms/colorvalue.h"

#include <QString>

// The texts that describe a picked colour: the status line's, and the forms
// it is copied in.
namespace palette::readout {

struct Channels {
    int32_t red, green, blue;
};

// Splits a colour value into red, green and blue with signed division that
// truncates toward zero: -1 gives 255, 0, 0.
Channels split(forms::ColorValue color);

// " Current Color: RGB(r,g,b) = &H" followed by the hexadecimal text.
QString statusText(Channels channels, const QString& hex);

// A colour as a screen reader speaks it: "red 255, green 2, blue 2". Short,
// in the order everyone reads a colour, numbers a speech synthesizer says as
// numbers; the same numbers the status line shows.
QString spokenText(Channels channels);

// "&H" followed by the hexadecimal text, as the status line writes it.
QString hexLiteral(const QString& hex);

// "#RRGGBB" in upper case, as design tools and style sheets take it.
QString hexTriplet(Channels channels);

// "rgb(r, g, b)", as style sheets take it.
QString rgbFunction(Channels channels);

} // namespace palette::readout

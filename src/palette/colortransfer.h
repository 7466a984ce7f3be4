#pragma once

#include "forms/colorvalue.h"

class QMimeData;

// A colour as it leaves the program, on the clipboard or dragged to another
// program: its "#RRGGBB" text, and the colour itself in the form colour
// widgets exchange (application/x-color).
namespace palette::transfer {

void fill(QMimeData& data, forms::ColorValue color);

} // namespace palette::transfer

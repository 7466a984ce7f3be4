#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace forms {

// A colour as the form runtime stores it: 0x00BBGGRR for an explicit colour,
// 0x800000nn for system colour nn. Properties keep the value exactly as set;
// it is resolved against the current palette only when drawn.
using ColorValue = int32_t;

namespace SystemColor {
constexpr ColorValue make(uint32_t index) {
    return static_cast<ColorValue>(0x80000000u | index);
}
constexpr ColorValue ActiveTitleBar = make(2);
constexpr ColorValue WindowBackground = make(5);
constexpr ColorValue WindowText = make(8);
constexpr ColorValue ActiveTitleBarText = make(9);
constexpr ColorValue ButtonFace = make(15);
} // namespace SystemColor

constexpr ColorValue White = 0x00FFFFFF;

bool isSystemColor(ColorValue value);

// Raises "Invalid property value" for a value that names no colour.
ColorValue validatedColor(ColorValue value);

QColor resolveColor(ColorValue value, const QPalette& palette);

// The runtime's RGB(): a channel above 255 counts as 255, a negative one as 0.
ColorValue rgb(int16_t red, int16_t green, int16_t blue);

ColorValue colorValueFromRgb(uint32_t argb);
uint32_t rgbFromColorValue(ColorValue explicitColor);

// "#RRGGBB" in upper case, as design tools and style sheets take a colour.
QString hexTriplet(QRgb rgb);

} // namespace forms

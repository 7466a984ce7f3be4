#include "forms/colorvalue.h"

#include "forms/runtimeerror.h"

#include <algorithm>
#include <array>

namespace forms {

namespace {

constexpr uint32_t SystemFlag = 0x80000000u;

// The system-colour table (indices 0 to 24), each by its nearest role.
constexpr std::array<QPalette::ColorRole, 25> SystemColorRoles = {
    QPalette::Mid,             // 0 scroll bar
    QPalette::Dark,            // 1 desktop
    QPalette::Highlight,       // 2 active title bar
    QPalette::Mid,             // 3 inactive title bar
    QPalette::Window,          // 4 menu bar
    QPalette::Base,            // 5 window background
    QPalette::Shadow,          // 6 window frame
    QPalette::WindowText,      // 7 menu text
    QPalette::Text,            // 8 window text
    QPalette::HighlightedText, // 9 active title bar text
    QPalette::Window,          // 10 active border
    QPalette::Window,          // 11 inactive border
    QPalette::Dark,            // 12 application workspace
    QPalette::Highlight,       // 13 highlight
    QPalette::HighlightedText, // 14 highlight text
    QPalette::Button,          // 15 button face
    QPalette::Dark,            // 16 button shadow
    QPalette::PlaceholderText, // 17 grey text
    QPalette::ButtonText,      // 18 button text
    QPalette::WindowText,      // 19 inactive title bar text
    QPalette::Light,           // 20 button highlight
    QPalette::Shadow,          // 21 3-D dark shadow
    QPalette::Midlight,        // 22 3-D light
    QPalette::ToolTipText,     // 23 tooltip text
    QPalette::ToolTipBase,     // 24 tooltip background
};

uint32_t systemIndex(ColorValue value) {
    return static_cast<uint32_t>(value) & ~SystemFlag;
}

int channel(int16_t value) {
    return std::clamp<int>(value, 0, 255);
}

} // namespace

bool isSystemColor(ColorValue value) {
    return (static_cast<uint32_t>(value) & SystemFlag) != 0;
}

ColorValue validatedColor(ColorValue value) {
    const bool valid = isSystemColor(value) ? systemIndex(value) < SystemColorRoles.size()
                                            : (value & 0xFF000000) == 0;
    if (!valid) {
        throw RuntimeError::invalidPropertyValue();
    }
    return value;
}

QColor resolveColor(ColorValue value, const QPalette& palette) {
    if (isSystemColor(value)) {
        const uint32_t index = systemIndex(value);
        if (index >= SystemColorRoles.size()) {
            throw RuntimeError::invalidPropertyValue();
        }
        return palette.color(QPalette::Active, SystemColorRoles[index]);
    }
    return QColor::fromRgb(rgbFromColorValue(value));
}

ColorValue rgb(int16_t red, int16_t green, int16_t blue) {
    return channel(red) + 256 * channel(green) + 65536 * channel(blue);
}

ColorValue colorValueFromRgb(uint32_t argb) {
    return static_cast<ColorValue>(((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16));
}

uint32_t rgbFromColorValue(ColorValue explicitColor) {
    const auto bgr = static_cast<uint32_t>(explicitColor);
    return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

QString hexTriplet(QRgb rgb) {
    return QColor(rgb).name(QColor::HexRgb).toUpper();
}

} // namespace forms

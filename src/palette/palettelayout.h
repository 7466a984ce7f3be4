#pragma once

#include "colorvalue.h"

#include <array>
#include <cstdint>

// The palette control's child controls as the designer laid them out, in
// twips relative to the container's client area. Containers come before their
// contents; later entries lie above earlier ones.
namespace palette::layout {

enum class Kind { PictureBox, Label, Image };

struct ChildControl {
    const char* name;
    int16_t index; // member of a control array, or NotInArray
    Kind kind;
    const char* container; // nullptr: the control surface itself
    int left;
    int top;
    int width;
    int height;
    forms::ColorValue backColor;
    forms::ColorValue foreColor;
    const char* caption;
    int tabIndex;               // NoTabIndex for the image control
    const char* accessibleName; // nullptr: a label, read as its caption
};

constexpr int16_t NotInArray = -1;
constexpr int NoTabIndex = -1;

constexpr int ControlWidth = 7155;
constexpr int ControlHeight = 4095;

constexpr forms::ColorValue ButtonFace = forms::SystemColor::ButtonFace;
constexpr forms::ColorValue WindowBack = forms::SystemColor::WindowBackground;
constexpr forms::ColorValue WindowText = forms::SystemColor::WindowText;
constexpr forms::ColorValue White = forms::White;

// clang-format off
constexpr std::array<ChildControl, 15> Children = {{
    {"picToolBar",       NotInArray, Kind::PictureBox, nullptr,      0,    0,    480,  1440, WindowBack, WindowText, "",              0, "Toolbar"},
    {"picColorBar",      0,          Kind::PictureBox, nullptr,      540,  60,   675,  3675, WindowBack, WindowText, "",              1, "Red bar"},
    {"picColorBar",      1,          Kind::PictureBox, nullptr,      1260, 60,   675,  3675, WindowBack, WindowText, "",              2, "Green bar"},
    {"picColorBar",      2,          Kind::PictureBox, nullptr,      1980, 60,   675,  3675, WindowBack, WindowText, "",              3, "Blue bar"},
    {"picColorBar",      3,          Kind::PictureBox, nullptr,      2760, 60,   675,  3675, WindowBack, WindowText, "",              4, "Yellow bar"},
    {"picColorBar",      4,          Kind::PictureBox, nullptr,      3480, 60,   675,  3675, WindowBack, WindowText, "",              5, "Cyan bar"},
    {"picColorBar",      5,          Kind::PictureBox, nullptr,      4200, 60,   675,  3675, WindowBack, WindowText, "",              6, "Magenta bar"},
    {"picColorBar",      6,          Kind::PictureBox, nullptr,      4980, 60,   675,  3675, WindowBack, WindowText, "",              7, "Grey bar"},
    {"lblStatusBar",     NotInArray, Kind::Label,      nullptr,      0,    3840, 7155, 255,  ButtonFace, WindowText, "",              8, nullptr},
    {"picSidebar",       NotInArray, Kind::PictureBox, nullptr,      5760, 0,    1395, 3855, ButtonFace, WindowText, "",              9, "Sidebar"},
    {"lblTitle",         0,          Kind::Label,      "picSidebar", 60,   60,   1215, 255,  WindowBack, WindowText, "Color Picker",  10, nullptr},
    {"picSelectedColor", NotInArray, Kind::PictureBox, "picSidebar", 60,   300,  1215, 1215, White,      WindowText, "",              11, "Selected color"},
    {"lblTitle",         1,          Kind::Label,      "picSidebar", 60,   1620, 1215, 255,  WindowBack, WindowText, "Color Preview", 12, nullptr},
    {"picColorPreview",  NotInArray, Kind::PictureBox, "picSidebar", 60,   1860, 1215, 1215, White,      WindowText, "",              13, "Color preview"},
    {"imgIcon",          NotInArray, Kind::Image,      "picColorPreview", 360, 300, 480, 480, White,     WindowText, "",              NoTabIndex, "Application icon"},
}};
// clang-format on

} // namespace palette::layout

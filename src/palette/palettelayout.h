#pragma once

#include "forms/colorvalue.h"

#include <array>
#include <cstdint>

// The palette control's child controls as the designer laid them out, in
// twips relative to the container's client area. Containers come before their
// contents; later entries lie above earlier ones.
namespace palette::layout {

// What a child is to the control; it decides the child's kind.
enum class Role { ToolBar, ColorBar, StatusBar, Sidebar, Title, SelectedColor, ColorPreview, Icon };
enum class Alignment { Left, Centre };

struct ChildControl {
    const char* name;
    int16_t index; // member of a control array, or NotInArray
    Role role;
    const char* container; // nullptr: the control surface itself
    int left;
    int top;
    int width;
    int height;
    forms::ColorValue backColor;
    forms::ColorValue foreColor;
    const char* caption;
    bool border;                // a flat one-pixel border
    Alignment alignment;        // of a label's caption
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
constexpr Alignment Left = Alignment::Left;
constexpr Alignment Centre = Alignment::Centre;

// clang-format off
constexpr std::array<ChildControl, 15> Children = {{
    {"picToolBar",       NotInArray, Role::ToolBar,       nullptr,           0,    0,    480,  1440, WindowBack, WindowText, "",              false, Left,   0,  "Toolbar"},
    {"picColorBar",      0,          Role::ColorBar,      nullptr,           540,  60,   675,  3675, WindowBack, WindowText, "",              true,  Left,   1,  "Red bar"},
    {"picColorBar",      1,          Role::ColorBar,      nullptr,           1260, 60,   675,  3675, WindowBack, WindowText, "",              true,  Left,   2,  "Green bar"},
    {"picColorBar",      2,          Role::ColorBar,      nullptr,           1980, 60,   675,  3675, WindowBack, WindowText, "",              true,  Left,   3,  "Blue bar"},
    {"picColorBar",      3,          Role::ColorBar,      nullptr,           2760, 60,   675,  3675, WindowBack, WindowText, "",              true,  Left,   4,  "Yellow bar"},
    {"picColorBar",      4,          Role::ColorBar,      nullptr,           3480, 60,   675,  3675, WindowBack, WindowText, "",              true,  Left,   5,  "Cyan bar"},
    {"picColorBar",      5,          Role::ColorBar,      nullptr,           4200, 60,   675,  3675, WindowBack, WindowText, "",              true,  Left,   6,  "Magenta bar"},
    {"picColorBar",      6,          Role::ColorBar,      nullptr,           4980, 60,   675,  3675, WindowBack, WindowText, "",              true,  Left,   7,  "Grey bar"},
    {"lblStatusBar",     NotInArray, Role::StatusBar,     nullptr,           0,    3840, 7155, 255,  ButtonFace, WindowText, "",              true,  Left,   8,  nullptr},
    {"picSidebar",       NotInArray, Role::Sidebar,       nullptr,           5760, 0,    1395, 3855, ButtonFace, WindowText, "",              true,  Left,   9,  "Sidebar"},
    {"lblTitle",         0,          Role::Title,         "picSidebar",      60,   60,   1215, 255,  WindowBack, WindowText, "Color Picker",  true,  Centre, 10, nullptr},
    {"picSelectedColor", NotInArray, Role::SelectedColor, "picSidebar",      60,   300,  1215, 1215, White,      WindowText, "",              true,  Left,   11, "Selected color"},
    {"lblTitle",         1,          Role::Title,         "picSidebar",      60,   1620, 1215, 255,  WindowBack, WindowText, "Color Preview", true,  Centre, 12, nullptr},
    {"picColorPreview",  NotInArray, Role::ColorPreview,  "picSidebar",      60,   1860, 1215, 1215, White,      WindowText, "",              true,  Left,   13, "Color preview"},
    {"imgIcon",          NotInArray, Role::Icon,          "picColorPreview", 360,  300,  480,  480,  White,      WindowText, "",              false, Left,   NoTabIndex, "Application icon"},
}};
// clang-format on

} // namespace palette::layout

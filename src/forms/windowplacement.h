#pragma once

class QWidget;

// Where top-level windows go on the screen.
namespace forms::placement {

// Centres the window's frame, as the user sees it, on the available area of
// its screen: for a window that has never been on screen, the monitor that
// holds the pointer. A window that has never been on screen is placed before it is
// mapped, by the frame the window manager says it will give it; where no
// window manager says (none runs, or it does not answer), the window is
// centred by its client area now and centred again, frame and all, as soon as
// it is exposed. Where the platform does not let programs place windows
// (Wayland) this does nothing.
void centreOnScreen(QWidget* window);

// The window follows the monitors: one whose monitor is switched off is
// centred on the primary monitor, and one of a fixed size keeps that size in
// logical pixels on a monitor of another density.
void followMonitors(QWidget* window);

} // namespace forms::placement

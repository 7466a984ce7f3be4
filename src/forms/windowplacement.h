#pragma once

class QWidget;

// Where top-level windows go on the screen.
namespace forms::placement {

// Centres the window's frame, as the user sees it, on the available area of
// its screen. The frame of a window that has never been on screen is not
// known yet: such a window is centred by its client area now and centred
// again, frame and all, as soon as it is exposed. Where the platform does not
// let programs place windows (Wayland) this does nothing.
void centreOnScreen(QWidget* window);

} // namespace forms::placement

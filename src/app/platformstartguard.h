#pragma once

// Watches the construction of the application object. Without its platform
// (no X server behind DISPLAY, no Wayland compositor, an unknown -platform)
// Qt writes several lines and aborts; while a guard lives, that failure
// becomes one line on standard error and exit status 1 instead. The other
// messages of that time are held back and passed on when the guard ends.
class PlatformStartGuard {
  public:
    PlatformStartGuard();
    ~PlatformStartGuard();
    PlatformStartGuard(const PlatformStartGuard&) = delete;
    PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;
};

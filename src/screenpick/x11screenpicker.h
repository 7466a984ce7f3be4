#pragma once

#include "screenpick/screenpicker.h"

#include <memory>
#include <vector>

class PickOverlay;
struct xcb_connection_t;

// The X11 way: every screen is copied once as the pick begins, and the copy
// is shown over it, so what the user sees is exactly what is read, and the
// magnifier drawn over the copy is never read itself. The pointer is read and
// moved through the X server in device pixels, so the pick is exact at every
// scale factor; the arrow keys move it by one device pixel, Shift+arrows by
// ten.
class X11ScreenPicker : public screenpick::ScreenPicker {
  public:
    // Whether the program runs on X11.
    static bool isAvailable();

    X11ScreenPicker();
    ~X11ScreenPicker() override;

    void start() override;
    void cancel() override;
    bool isRunning() const override { return !mOverlays.empty(); }

  private:
    std::optional<QPoint> pointerOnDesktop() const;
    std::optional<screenpick::Pick> pickAt(QPoint desktopPixel) const;
    void follow();
    void nudge(int dx, int dy);
    void pressed(Qt::MouseButton button);
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);
    void end(std::optional<screenpick::Pick> pick);

    xcb_connection_t* mConnection = nullptr;
    uint32_t mRoot = 0;
    std::vector<std::unique_ptr<PickOverlay>> mOverlays;
    std::optional<screenpick::Pick> mUnder;
};

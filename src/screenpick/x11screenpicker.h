#pragma once

#include "screenpick/screenpicker.h"

#include <QAbstractNativeEventFilter>

#include <memory>
#include <vector>

class PickOverlay;
struct xcb_connection_t;

// The X11 way: every screen is copied once as the pick begins, and the copy
// is shown over it, so what the user sees is exactly what is read, and the
// magnifier drawn over the copy is never read itself. The pointer is read and
// moved through the X server in device pixels, so the pick is exact at every
// scale factor; the arrow keys move it by one device pixel, Shift+arrows by
// ten. A pick ends once: input that the X server sent to the pick before it
// ended (a double-click's second click, keys typed ahead) is dropped until
// the picker is deleted, which takes the ended pick's windows with it.
class X11ScreenPicker : public screenpick::ScreenPicker, public QAbstractNativeEventFilter {
  public:
    // Whether the program runs on X11.
    static bool isAvailable();

    X11ScreenPicker();
    ~X11ScreenPicker() override;

    void start() override;
    void cancel() override;
    bool isRunning() const override { return !mOverlays.empty(); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    bool pointerCanBeTaken(uint32_t window) const;
    QString takePointerAndKeyboard();
    std::optional<QPoint> pointerOnDesktop() const;
    void trackPointer();
    void nudge(int dx, int dy);
    void pressed(Qt::MouseButton button, quint64 time);
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);
    void endPick(std::optional<screenpick::Pick> pick, const QString& refusal = {});

    xcb_connection_t* mConnection = nullptr;
    uint32_t mRoot = 0;
    // The running pick's overlays, one a screen.
    std::vector<std::unique_ptr<PickOverlay>> mOverlays;
    // The overlays of a pick that has ended, hidden and deaf, kept while
    // this picker lives: keys still on their way to them are dropped.
    std::vector<std::unique_ptr<PickOverlay>> mEndedOverlays;
    std::optional<screenpick::Pick> mColorUnderHotSpot;
    // Where the last nudge sent the pointer, until the pointer is there.
    std::optional<QPoint> mNudgedTo;
    // The server's time when the running pick took pointer and keys.
    std::optional<quint64> mStartTime;
};

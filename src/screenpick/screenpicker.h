#pragma once

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

// Picking a colour anywhere on the screen, whichever way the desktop allows:
// given the screen, a pick answers the colour under the cross-hair, or
// nothing when it was cancelled. It knows nothing of what the colour is for.
namespace screenpick {

// A colour taken from the screen, and the device pixel of the whole desktop
// it was read at where the way of picking knows it.
struct Pick {
    QRgb color = 0;
    std::optional<QPoint> devicePixel;
};

class ScreenPicker : public QObject {
  public:
    // The colour under the cross-hair, each time it moves (not every way of
    // picking reports it); nudged when a key moved it, not the pointer.
    std::function<void(const Pick&, bool nudged)> onHover;
    // Once per start: the colour taken, or nothing when the pick was
    // cancelled or could not run (refusal() then says why).
    std::function<void(const std::optional<Pick>&)> onFinished;

    // The window the pick was started from stays live above a screen held
    // still, so that what it shows of the pick is seen; none by default.
    void setLiveWindow(QWidget* window) { mLiveWindow = window; }

    virtual void start() = 0;
    // Ends a running pick as cancelled; nothing when none runs.
    virtual void cancel() = 0;
    virtual bool isRunning() const = 0;
    // Whether a new start replaces a running pick instead of being ignored.
    // Where the desktop shows the picker, the program cannot tell a pick on
    // screen from one the desktop has forgotten (a portal that never
    // answers): asking again is then the only way on.
    virtual bool yieldsToNewStart() const { return false; }
    // Why the last pick could not run, a sentence for the user; empty when
    // it ran.
    const QString& refusal() const { return mRefusal; }

  protected:
    // Tells onFinished how the pick ended.
    void notifyFinished(const std::optional<Pick>& pick);
    void notifyRefused(const QString& reason);

    QPointer<QWidget> mLiveWindow;

  private:
    QString mRefusal;
};

// Whether this desktop lets us pick, and if not, what is missing.
struct Availability {
    bool available = false;
    QString missing;
};

// The session, not Qt's platform, chooses the way of picking: on a Wayland
// session (WAYLAND_DISPLAY, or XDG_SESSION_TYPE=wayland) the desktop portal's,
// even where Qt runs through XWayland, whose X screen shows no Wayland window;
// the X11 way where the program runs on X11 otherwise; the portal's elsewhere.
bool isWaylandSession();

// Answered at once, never waiting for the desktop. Where the portal decides,
// the first call asks it in the background and the pick is offered until its
// answer says otherwise; a portal that does not answer in time is asked again
// at the next call.
using Factory = std::function<std::unique_ptr<ScreenPicker>()>;
Availability availability();
std::unique_ptr<ScreenPicker> create();

// Runs `changed` each time an answer of the portal (or a test's replacement)
// changes what availability() says, until forgotten by the number returned.
int watchAvailability(std::function<void()> changed);
void forgetWatch(int watch);

// Tests put a way of picking of their own in place; an empty one restores
// the desktop's.
void setFactory(Factory factory, Availability availability = {true, {}});

} // namespace screenpick

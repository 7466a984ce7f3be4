#include "screenpick/x11screenpicker.h"

#include "forms/x11connection.h"
#include "forms/x11monitors.h"
#include "screenpick/pickoverlay.h"
#include "screenpick/screencopy.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr int LongNudge = 10;
constexpr std::chrono::milliseconds PointerPatience(500);
constexpr std::chrono::milliseconds GrabRetryInterval(5);

const QString HeldPointer = QStringLiteral(
    "No colour can be picked from the screen now: another program holds the pointer.");
const QString HeldKeyboard = QStringLiteral(
    "No colour can be picked from the screen now: another program holds the keyboard.");
const QString UncopiedScreen =
    QStringLiteral("No colour can be picked from the screen: its pixels cannot be copied.");

// The root window of the X screen that shows `window`, or of the first X
// screen.
xcb_window_t rootOf(xcb_connection_t* connection, const QWindow* window) {
    if (window != nullptr) {
        if (const auto root =
                forms::x11::rootOf(connection, static_cast<xcb_window_t>(window->winId()))) {
            return *root;
        }
    }
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

} // namespace

bool X11ScreenPicker::isAvailable() {
    return forms::x11::connection() != nullptr;
}

X11ScreenPicker::X11ScreenPicker() : mConnection(forms::x11::connection()) {
    QCoreApplication::instance()->installNativeEventFilter(this);
    // The overlays cover the screens as they were; a screen that comes or
    // goes ends the pick.
    const auto screensChanged = [this] { cancel(); };
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, this, screensChanged);
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, this, screensChanged);
}

X11ScreenPicker::~X11ScreenPicker() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
    mOverlays.clear();
    mEndedOverlays.clear();
}

void X11ScreenPicker::start() {
    if (isRunning()) {
        return;
    }
    if (mConnection == nullptr) {
        notifyFinished(std::nullopt);
        return;
    }
    // Every screen of the desktop the program is on is copied before the
    // first overlay is shown over it; another X screen of the same server has a
    // desktop, a root window and pointer coordinates of its own.
    const QWindow* live =
        mLiveWindow && mLiveWindow->isVisible() ? mLiveWindow->windowHandle() : nullptr;
    const QScreen* home = live != nullptr && live->screen() != nullptr
                              ? live->screen()
                              : QGuiApplication::primaryScreen();
    mRoot = rootOf(mConnection, live);
    for (QScreen* screen : home->virtualSiblings()) {
        const std::optional<QRect> area = forms::x11::monitorArea(mConnection, mRoot, *screen);
        auto copy = area ? ScreenCopy::take(mConnection, mRoot, *area) : nullptr;
        auto overlay = copy ? std::make_unique<PickOverlay>(screen, std::move(copy)) : nullptr;
        if (!overlay || !overlay->showsCopy()) {
            mOverlays.clear();
            notifyRefused(UncopiedScreen);
            return;
        }
        overlay->onPointerMoved = [this] { trackPointer(); };
        overlay->onPressed = [this](Qt::MouseButton button, quint64 time) {
            pressed(button, time);
        };
        overlay->onKey = [this](int key, Qt::KeyboardModifiers modifiers) {
            keyPressed(key, modifiers);
        };
        if (live != nullptr) {
            // The live window is seen through a hole; it is read as it was
            // when the pick began, like everything else.
            overlay->setHole(mLiveWindow->frameGeometry().translated(-overlay->pos()));
        }
        mOverlays.push_back(std::move(overlay));
    }
    for (const auto& overlay : mOverlays) {
        overlay->show();
    }
    const QString refused = takePointerAndKeyboard();
    if (!refused.isEmpty()) {
        endPick(std::nullopt, refused);
        return;
    }
    trackPointer();
}

// Whether the pointer can be grabbed for a window. A window manager holds it
// for a moment after a click, so a grab held elsewhere is tried again for a
// little while before the answer is no.
bool X11ScreenPicker::pointerCanBeTaken(uint32_t window) const {
    const QDeadlineTimer patience(PointerPatience);
    for (;;) {
        const auto trial = forms::x11::owned(xcb_grab_pointer_reply(
            mConnection,
            xcb_grab_pointer(mConnection, 0, window, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                             XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
            nullptr));
        if (trial && trial->status == XCB_GRAB_STATUS_SUCCESS) {
            xcb_ungrab_pointer(mConnection, XCB_CURRENT_TIME);
            return true;
        }
        const bool heldElsewhere = trial && (trial->status == XCB_GRAB_STATUS_ALREADY_GRABBED ||
                                             trial->status == XCB_GRAB_STATUS_FROZEN);
        if (!heldElsewhere || patience.hasExpired()) {
            return false;
        }
        std::this_thread::sleep_for(GrabRetryInterval);
    }
}

// Pointer and keys belong to the pick until it ends. Qt reports a pointer
// grab as taken even when another program holds the pointer, so the server
// is asked first; a pick with the keys alone is no pick. Answers why the
// pick cannot run, or nothing.
QString X11ScreenPicker::takePointerAndKeyboard() {
    PickOverlay& first = *mOverlays.front();
    QWindow* window = first.windowHandle();
    if (window == nullptr) {
        return HeldPointer;
    }
    const auto native = static_cast<xcb_window_t>(window->winId());
    if (!pointerCanBeTaken(native)) {
        return HeldPointer;
    }
    first.grabMouse(Qt::CrossCursor);
    first.grabKeyboard();
    if (!window->setMouseGrabEnabled(true)) {
        return HeldPointer;
    }
    if (!window->setKeyboardGrabEnabled(true)) {
        return HeldKeyboard;
    }
    // A zero-length append changes nothing but makes the server say when
    // the pick began (see nativeEventFilter).
    mStartTime.reset();
    xcb_change_property(mConnection, XCB_PROP_MODE_APPEND, native, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(mConnection);
    return {};
}

void X11ScreenPicker::cancel() {
    if (isRunning()) {
        endPick(std::nullopt);
    }
}

std::optional<QPoint> X11ScreenPicker::pointerOnDesktop() const {
    return forms::x11::pointerIn(mConnection, mRoot);
}

// The pointer has moved: the magnifier and the colour under the hot spot
// follow it.
void X11ScreenPicker::trackPointer() {
    const std::optional<QPoint> at = pointerOnDesktop();
    mColorUnderHotSpot.reset();
    for (const auto& overlay : mOverlays) {
        const QRect area = overlay->deviceGeometry();
        if (!at || !area.contains(*at)) {
            overlay->setHotSpot(std::nullopt);
            continue;
        }
        overlay->setHotSpot(*at - area.topLeft());
        if (const std::optional<QRgb> color = overlay->colorUnderHotSpot()) {
            mColorUnderHotSpot = screenpick::Pick{*color, *at};
        }
    }
    // A nudge moves the pointer too, and its move comes back like the user's.
    const bool nudged = at.has_value() && at == mNudgedTo;
    if (nudged) {
        mNudgedTo.reset();
    }
    if (mColorUnderHotSpot && onHover) {
        onHover(*mColorUnderHotSpot, nudged);
    }
}

void X11ScreenPicker::nudge(int dx, int dy) {
    const std::optional<QPoint> at = pointerOnDesktop();
    if (!at) {
        return;
    }
    QRect desktop;
    for (const auto& overlay : mOverlays) {
        desktop |= overlay->deviceGeometry();
    }
    const QPoint to(std::clamp(at->x() + dx, desktop.left(), desktop.right()),
                    std::clamp(at->y() + dy, desktop.top(), desktop.bottom()));
    mNudgedTo = to;
    xcb_warp_pointer(mConnection, XCB_NONE, mRoot, 0, 0, 0, 0, static_cast<int16_t>(to.x()),
                     static_cast<int16_t>(to.y()));
    xcb_flush(mConnection);
}

// A window manager may hold a click made just before the pick began and hand
// it on once the pick is under way: a press from before the start is not
// the user's answer to the pick.
void X11ScreenPicker::pressed(Qt::MouseButton button, quint64 time) {
    if (!mStartTime || time < *mStartTime) {
        return;
    }
    if (button == Qt::LeftButton) {
        trackPointer();
        endPick(mColorUnderHotSpot);
    } else if (button == Qt::RightButton) {
        endPick(std::nullopt);
    }
}

void X11ScreenPicker::keyPressed(int key, Qt::KeyboardModifiers modifiers) {
    const int step = modifiers.testFlag(Qt::ShiftModifier) ? LongNudge : 1;
    switch (key) {
    case Qt::Key_Escape:
        endPick(std::nullopt);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        trackPointer();
        endPick(mColorUnderHotSpot);
        break;
    case Qt::Key_Left:
        nudge(-step, 0);
        break;
    case Qt::Key_Right:
        nudge(step, 0);
        break;
    case Qt::Key_Up:
        nudge(0, -step);
        break;
    case Qt::Key_Down:
        nudge(0, step);
        break;
    default:
        break;
    }
}

// Gives pointer and keys back, then answers, once. The overlays hear
// nothing more.
void X11ScreenPicker::endPick(std::optional<screenpick::Pick> pick, const QString& refusal) {
    if (!isRunning()) {
        return;
    }
    mOverlays.front()->releaseKeyboard();
    mOverlays.front()->releaseMouse();
    // Whatever grab of this program the server still holds for the pick (a
    // press on its way as it ended) goes too.
    xcb_ungrab_pointer(mConnection, XCB_CURRENT_TIME);
    xcb_ungrab_keyboard(mConnection, XCB_CURRENT_TIME);
    xcb_flush(mConnection);
    for (auto& overlay : mOverlays) {
        overlay->onPointerMoved = nullptr;
        overlay->onPressed = nullptr;
        overlay->onKey = nullptr;
        overlay->hide();
        mEndedOverlays.push_back(std::move(overlay));
    }
    mOverlays.clear();
    mColorUnderHotSpot.reset();
    if (refusal.isEmpty()) {
        notifyFinished(pick);
    } else {
        notifyRefused(refusal);
    }
}

// Notes when the pick began, and drops keys still on their way to a pick
// that has ended: Qt hands keys to the window that has the focus, whichever
// window the server sent them to, and one typed before the pick ended must
// not reach the window behind.
bool X11ScreenPicker::nativeEventFilter(const QByteArray& eventType, void* message,
                                        qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & ~0x80U;
    if (type == XCB_PROPERTY_NOTIFY && isRunning()) {
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        if (change->atom == XCB_ATOM_WM_NAME &&
            change->window == mOverlays.front()->windowHandle()->winId()) {
            mStartTime = change->time;
        }
        return false;
    }
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    return std::any_of(mEndedOverlays.begin(), mEndedOverlays.end(),
                       [key](const auto& overlay) { return overlay->winId() == key->event; });
}

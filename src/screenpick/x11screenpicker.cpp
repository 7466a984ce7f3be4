#include "screenpick/x11screenpicker.h"

#include "forms/x11connection.h"
#include "screenpick/pickoverlay.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <xcb/xcb.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

constexpr int LongNudge = 10;

void returnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

bool X11ScreenPicker::isAvailable() {
    return forms::x11::connection() != nullptr;
}

X11ScreenPicker::X11ScreenPicker() : mConnection(forms::x11::connection()) {
    if (mConnection != nullptr) {
        mRoot = xcb_setup_roots_iterator(xcb_get_setup(mConnection)).data->root;
    }
}

X11ScreenPicker::~X11ScreenPicker() {
    mOverlays.clear();
}

void X11ScreenPicker::start() {
    if (isRunning()) {
        return;
    }
    if (mConnection == nullptr) {
        finish(std::nullopt);
        return;
    }
    // Every screen is copied before the first overlay hides it.
    std::vector<std::pair<QScreen*, QImage>> copies;
    for (QScreen* screen : QGuiApplication::screens()) {
        QImage image = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        if (!image.isNull()) {
            copies.emplace_back(screen, std::move(image));
        }
    }
    for (auto& [screen, image] : copies) {
        auto overlay = std::make_unique<PickOverlay>(screen, std::move(image));
        overlay->onPointerMoved = [this] { follow(); };
        overlay->onPressed = [this](Qt::MouseButton button) { pressed(button); };
        overlay->onKey = [this](int key, Qt::KeyboardModifiers modifiers) {
            keyPressed(key, modifiers);
        };
        if (mOwnWindow && mOwnWindow->isVisible()) {
            // The own window is seen through a hole; it is read as it was when
            // the pick began, like everything else.
            overlay->setHole(mOwnWindow->frameGeometry().translated(-overlay->pos()));
        }
        overlay->show();
        mOverlays.push_back(std::move(overlay));
    }
    if (mOverlays.empty()) {
        finish(std::nullopt);
        return;
    }
    // Pointer and keys belong to the pick until it ends; a desktop that will
    // not give them up ends it at once.
    PickOverlay& first = *mOverlays.front();
    first.grabMouse(Qt::CrossCursor);
    first.grabKeyboard();
    QWindow* window = first.windowHandle();
    if (window == nullptr || !window->setMouseGrabEnabled(true) ||
        !window->setKeyboardGrabEnabled(true)) {
        end(std::nullopt);
        return;
    }
    follow();
}

void X11ScreenPicker::cancel() {
    if (isRunning()) {
        end(std::nullopt);
    }
}

std::optional<QPoint> X11ScreenPicker::pointerOnDesktop() const {
    const auto reply = forms::x11::owned(
        xcb_query_pointer_reply(mConnection, xcb_query_pointer(mConnection, mRoot), nullptr));
    if (!reply) {
        return std::nullopt;
    }
    return QPoint(reply->root_x, reply->root_y);
}

std::optional<screenpick::Pick> X11ScreenPicker::pickAt(QPoint desktopPixel) const {
    for (const auto& overlay : mOverlays) {
        if (overlay->deviceGeometry().contains(desktopPixel)) {
            const QPoint inScreen = desktopPixel - overlay->deviceGeometry().topLeft();
            return screenpick::Pick{overlay->image().pixel(inScreen), desktopPixel};
        }
    }
    return std::nullopt;
}

// The pointer has moved: the magnifier and the colour under it follow.
void X11ScreenPicker::follow() {
    const std::optional<QPoint> at = pointerOnDesktop();
    for (const auto& overlay : mOverlays) {
        const QRect area = overlay->deviceGeometry();
        overlay->setHotSpot(at && area.contains(*at) ? std::optional(*at - area.topLeft())
                                                     : std::nullopt);
    }
    mUnder = at ? pickAt(*at) : std::nullopt;
    if (mUnder && onHover) {
        onHover(*mUnder);
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
    xcb_warp_pointer(mConnection, XCB_NONE, mRoot, 0, 0, 0, 0, static_cast<int16_t>(to.x()),
                     static_cast<int16_t>(to.y()));
    xcb_flush(mConnection);
}

void X11ScreenPicker::pressed(Qt::MouseButton button) {
    if (button == Qt::LeftButton) {
        follow();
        end(mUnder);
    } else if (button == Qt::RightButton) {
        end(std::nullopt);
    }
}

void X11ScreenPicker::keyPressed(int key, Qt::KeyboardModifiers modifiers) {
    const int step = modifiers.testFlag(Qt::ShiftModifier) ? LongNudge : 1;
    switch (key) {
    case Qt::Key_Escape:
        end(std::nullopt);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        follow();
        end(mUnder);
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

// Gives pointer, keys and the screen copies back, then answers.
void X11ScreenPicker::end(std::optional<screenpick::Pick> pick) {
    if (!mOverlays.empty()) {
        mOverlays.front()->releaseKeyboard();
        mOverlays.front()->releaseMouse();
    }
    for (const auto& overlay : mOverlays) {
        overlay->hide();
    }
    // Deleted once the event that ended the pick has left them. The screen
    // copies are large enough that the C library may keep their memory for
    // the next ones; it goes back to the system once the last one is gone.
    QObject::connect(mOverlays.back().get(), &QObject::destroyed, [] { returnFreedMemory(); });
    for (auto& overlay : mOverlays) {
        overlay.release()->deleteLater();
    }
    mOverlays.clear();
    mUnder.reset();
    finish(pick);
}

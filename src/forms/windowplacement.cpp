#include "forms/windowplacement.h"

#include "forms/frameextents.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtMath>

namespace forms::placement {

namespace {

bool platformPlacesWindows() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// The monitor a window is centred on: a window that has never been on screen
// opens where the user is working, on the monitor that holds the pointer.
const QScreen* screenFor(const QWidget* window, bool exposed) {
    if (!exposed) {
        if (const QScreen* underPointer = QGuiApplication::screenAt(QCursor::pos())) {
            return underPointer;
        }
    }
    return window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
}

// Where a frame of that size goes, centred; an odd pixel left over goes to
// the right and the bottom.
QPoint centredTopLeft(const QRect& available, const QSizeF& frame) {
    return {available.x() + qFloor((available.width() - frame.width()) / 2),
            available.y() + qFloor((available.height() - frame.height()) / 2)};
}

// Centres the window by the frame that Qt knows: none before it has been on
// screen.
void centreNow(QWidget* window, const QScreen* screen) {
    if (screen != nullptr) {
        window->move(centredTopLeft(screen->availableGeometry(), window->frameGeometry().size()));
    }
}

// Centres a window that is not yet mapped by the frame the window manager
// will give it (device pixels). The client area is placed: a window placed
// by its client area keeps that place when it is framed.
void centreBeforeMapping(QWidget* window, const QMargins& frame, const QScreen* screen) {
    if (screen == nullptr) {
        return;
    }
    const qreal ratio = screen->devicePixelRatio();
    const QMarginsF margins = QMarginsF(frame) / ratio;
    const QPoint frameTopLeft =
        centredTopLeft(screen->availableGeometry(), QSizeF(window->size()).grownBy(margins));
    window->setGeometry(
        QRect(frameTopLeft + QPointF(margins.left(), margins.top()).toPoint(), window->size()));
}

// Centres a window once more when it is first exposed, when its frame is known.
class CentreWhenExposed : public QObject {
  public:
    explicit CentreWhenExposed(QWidget* window) : QObject(window), mWidget(window) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == mWidget && event->type() == QEvent::Show && mWindow == nullptr) {
            mWindow = mWidget->windowHandle();
            if (mWindow != nullptr) {
                mWindow->installEventFilter(this);
            }
        } else if (watched == mWindow && event->type() == QEvent::Expose && mWindow->isExposed()) {
            centreNow(mWidget, screenFor(mWidget, true));
            mWindow->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

  private:
    QWidget* mWidget;
    QPointer<QWindow> mWindow;
};

// A window whose monitor is switched off stays where no monitor shows it
// (X11 keeps its place): it is centred on the primary monitor. A window of a
// fixed size moved onto a monitor of another density keeps the window
// system's size, which Qt then takes for a new logical size: it is given its
// own size back, in the new monitor's device pixels.
class FollowMonitors : public QObject {
  public:
    explicit FollowMonitors(QWidget* window) : QObject(window), mWindow(window) {
        window->installEventFilter(this);
        QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this] {
            // Once Qt has moved its windows off the screen that went away.
            QTimer::singleShot(0, this, [this] { keepOnAMonitor(); });
        });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == mWindow && event->type() == QEvent::ScreenChangeInternal) {
            QTimer::singleShot(0, this, [this] { keepSize(); });
        }
        return false;
    }

  private:
    void keepOnAMonitor() {
        if (platformPlacesWindows() && mWindow->isVisible() &&
            QGuiApplication::screenAt(mWindow->frameGeometry().center()) == nullptr) {
            centreNow(mWindow, QGuiApplication::primaryScreen());
        }
    }

    // Only a window on screen: before it is shown, Qt sizes it for the
    // monitor it opens on by itself.
    void keepSize() {
        const QSize fixed = mWindow->minimumSize();
        QWindow* handle = mWindow->windowHandle();
        if (fixed == mWindow->maximumSize() && handle != nullptr && handle->isExposed() &&
            handle->size() != fixed) {
            handle->resize(fixed);
        }
    }

    QWidget* mWindow;
};

} // namespace

void centreOnScreen(QWidget* window) {
    if (!platformPlacesWindows()) {
        return;
    }
    const bool exposed = window->windowHandle() != nullptr && window->windowHandle()->isExposed();
    const QScreen* screen = screenFor(window, exposed);
    if (!exposed) {
        if (const std::optional<QMargins> frame = frameextents::of(window)) {
            centreBeforeMapping(window, *frame, screen);
            return;
        }
    }
    centreNow(window, screen);
    if (!exposed) {
        new CentreWhenExposed(window);
    }
}

void followMonitors(QWidget* window) {
    new FollowMonitors(window);
}

} // namespace forms::placement

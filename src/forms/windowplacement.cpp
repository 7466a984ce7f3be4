#include "forms/windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace forms::placement {

namespace {

bool platformPlacesWindows() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void centreNow(QWidget* window) {
    const QScreen* screen =
        window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    window->move(available.x() + (available.width() - frame.width()) / 2,
                 available.y() + (available.height() - frame.height()) / 2);
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
            centreNow(mWidget);
            mWindow->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

  private:
    QWidget* mWidget;
    QPointer<QWindow> mWindow;
};

} // namespace

void centreOnScreen(QWidget* window) {
    if (!platformPlacesWindows()) {
        return;
    }
    centreNow(window);
    const bool frameKnown =
        window->windowHandle() != nullptr && window->windowHandle()->isExposed();
    if (!frameKnown) {
        new CentreWhenExposed(window);
    }
}

} // namespace forms::placement

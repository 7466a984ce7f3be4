#include "forms/usercontrol.h"

#include "forms/eventboundary.h"
#include "forms/twips.h"

#include <QShowEvent>

namespace forms {

UserControl::UserControl(QWidget* parent) : FlatControl(parent) {}

float UserControl::widthTwips() const {
    return static_cast<float>(twips::fromPixels(width()));
}
float UserControl::heightTwips() const {
    return static_cast<float>(twips::fromPixels(height()));
}

void UserControl::setWidthTwips(float width) {
    const int pixels = twips::toPixels(width);
    if (pixels != this->width()) {
        resize(pixels, height());
    }
}

void UserControl::setHeightTwips(float height) {
    const int pixels = twips::toPixels(height);
    if (pixels != this->height()) {
        resize(width(), pixels);
    }
}

void UserControl::showEvent(QShowEvent* event) {
    // Qt's own show event comes inside show(), before the window is mapped;
    // the notification waits until the window is exposed.
    if (event->spontaneous()) {
        return;
    }
    mShowPending = true;
    watchWindow();
    if (mWatchedWindow != nullptr && mWatchedWindow->isExposed()) {
        notifyShownSoon();
    }
}

void UserControl::watchWindow() {
    QWindow* current = window()->windowHandle();
    if (current == mWatchedWindow) {
        return;
    }
    if (mWatchedWindow != nullptr) {
        mWatchedWindow->removeEventFilter(this);
    }
    mWatchedWindow = current;
    if (current != nullptr) {
        current->installEventFilter(this);
    }
}

bool UserControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == mWatchedWindow && mShowPending &&
        mWatchedWindow->isExposed()) {
        notifyShownSoon();
    }
    return false;
}

// Queued, so that the window's first paint reaches the screen before the
// notification's work begins.
void UserControl::notifyShownSoon() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (mShowPending && isVisible()) {
                mShowPending = false;
                eventboundary::enter([this] { showNotification(); });
            }
        },
        Qt::QueuedConnection);
}

void UserControl::resizeEvent(QResizeEvent* /*event*/) {
    eventboundary::enter([this] { resizeNotification(); });
}

} // namespace forms

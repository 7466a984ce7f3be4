#include "forms/displayrefresh.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace forms {

namespace {

int refreshIntervalMs(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    const double rate =
        screen != nullptr && screen->refreshRate() > 1.0 ? screen->refreshRate() : 60.0;
    return std::max(1, static_cast<int>(1000.0 / rate));
}

} // namespace

DisplayRefresh::DisplayRefresh(QWidget& widget) : mWidget(widget) {
    mTimer.setSingleShot(true);
    QObject::connect(&mTimer, &QTimer::timeout, &mWidget, [this] { repaint(); });
}

void DisplayRefresh::drawn(const QRect& area) {
    mDirty = mDirty.united(area);
    if (mTimer.isActive()) {
        return;
    }
    const int interval = refreshIntervalMs(mWidget);
    const qint64 waited = mSinceRepaint.isValid() ? mSinceRepaint.elapsed() : interval;
    if (waited >= interval) {
        repaint();
    } else {
        mTimer.start(static_cast<int>(interval - waited));
    }
}

void DisplayRefresh::repaint() {
    mWidget.update(mDirty);
    mDirty = QRect();
    mSinceRepaint.start();
}

} // namespace forms

#include "screenpick/pickoverlay.h"

#include "forms/devicepixels.h"
#include "screenpick/magnifier.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

PickOverlay::PickOverlay(QScreen* screen, QImage image)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint),
      mImage(std::move(image)) {
    setObjectName(QStringLiteral("screenPickOverlay"));
    setWindowTitle(QStringLiteral("Pick a colour from the screen"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setAccessibleName(QStringLiteral("Pick a colour from the screen"));
    // On the screen it covers, which on an X server of several X screens
    // need not be the primary one's.
    setScreen(screen);
    // A screen's top-left device pixel is its top-left logical pixel too.
    const QRect logical = screen->geometry();
    mDeviceGeometry = QRect(logical.topLeft(), mImage.size());
    setGeometry(logical);
    // Drawn in device pixels, one to one (see paintEvent).
    mImage.setDevicePixelRatio(1.0);
}

void PickOverlay::setHotSpot(std::optional<QPoint> hotSpot) {
    if (hotSpot == mHotSpot) {
        return;
    }
    const QRect before = magnifierFrame();
    mHotSpot = hotSpot;
    const QRect after = magnifierFrame();
    if (!before.isNull()) {
        update(toLogical(before));
    }
    if (!after.isNull()) {
        update(toLogical(after));
    }
    if (!mHole.isEmpty()) {
        updateMask();
    }
}

void PickOverlay::setHole(const QRect& hole) {
    mHole = hole;
    updateMask();
}

void PickOverlay::updateMask() {
    QRegion shown = QRegion(rect()).subtracted(mHole);
    const QRect magnifier = magnifierFrame();
    if (!magnifier.isNull()) {
        shown += toLogical(magnifier);
    }
    setMask(shown);
}

QRect PickOverlay::magnifierFrame() const {
    if (!mHotSpot) {
        return {};
    }
    using namespace screenpick::magnifier;
    return place(*mHotSpot, sizeFor(devicePixelRatioF()), QRect(QPoint(0, 0), mImage.size()));
}

// The logical pixels that hold a device rectangle, with a pixel to spare for
// the rounding at fractional scales.
QRect PickOverlay::toLogical(const QRect& device) const {
    return forms::devicepixels::logicalCover(device, devicePixelRatioF()).adjusted(-1, -1, 1, 1);
}

void PickOverlay::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Device pixels from here on: the screen copy lands one to one.
    const qreal ratio = devicePixelRatioF();
    painter.setWorldTransform(QTransform::fromScale(1.0 / ratio, 1.0 / ratio));
    const QRect deviceDirty = forms::devicepixels::deviceCover(event->rect(), ratio);
    painter.drawImage(deviceDirty.topLeft(), mImage, deviceDirty);
    if (mHotSpot) {
        screenpick::magnifier::paint(painter, mImage, *mHotSpot, magnifierFrame());
    }
}

void PickOverlay::mouseMoveEvent(QMouseEvent* /*event*/) {
    if (onPointerMoved) {
        onPointerMoved();
    }
}

void PickOverlay::mousePressEvent(QMouseEvent* event) {
    if (onPressed) {
        onPressed(event->button(), event->timestamp());
    }
}

void PickOverlay::keyPressEvent(QKeyEvent* event) {
    // Every key belongs to the pick while it runs; none reaches the window
    // behind.
    event->accept();
    if (onKey) {
        onKey(event->key(), event->modifiers());
    }
}

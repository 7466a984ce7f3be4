#include "screenpick/pickoverlay.h"

#include "forms/devicepixels.h"
#include "forms/x11connection.h"
#include "screenpick/magnifier.h"
#include "screenpick/magnifierwindow.h"
#include "screenpick/screencopy.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

PickOverlay::PickOverlay(QScreen* screen, std::unique_ptr<ScreenCopy> copy)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint),
      mCopy(std::move(copy)) {
    setObjectName(QStringLiteral("screenPickOverlay"));
    setWindowTitle(QStringLiteral("Pick a colour from the screen"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setAccessibleName(QStringLiteral("Pick a colour from the screen"));
    // On the screen it covers, which on an X server of several X screens
    // need not be the primary one's.
    setScreen(screen);
    // A screen's top-left device pixel is its top-left logical pixel too.
    setGeometry(screen->geometry());

    xcb_connection_t* connection = forms::x11::connection();
    const auto window = static_cast<xcb_window_t>(winId());
    const auto geometry = forms::x11::owned(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    mShowsCopy = geometry && geometry->depth == mCopy->depth();
    if (!mShowsCopy) {
        return;
    }
    const uint32_t background = mCopy->pixmap();
    xcb_change_window_attributes(connection, window, XCB_CW_BACK_PIXMAP, &background);
    mMagnifier = std::make_unique<MagnifierWindow>(
        connection, window, mCopy->depth(), screenpick::magnifier::sizeFor(devicePixelRatioF()));
}

PickOverlay::~PickOverlay() = default;

QRect PickOverlay::deviceGeometry() const {
    return mCopy->area();
}

void PickOverlay::setHotSpot(std::optional<QPoint> hotSpot) {
    if (hotSpot == mHotSpot) {
        return;
    }
    const bool wasOverHole = magnifierOverHole();
    mHotSpot = hotSpot;
    mColorUnderHotSpot.reset();
    if (!mHotSpot) {
        mMagnifier->hide();
    } else {
        using namespace screenpick::magnifier;
        const QRect source = sourceArea(*mHotSpot);
        const QImage around = mCopy->read(source.translated(deviceGeometry().topLeft()));
        const QPoint centre = *mHotSpot - source.topLeft();
        mColorUnderHotSpot = around.pixel(centre);
        const QRect frame = magnifierFrame();
        QImage picture(frame.size(), QImage::Format_RGB32);
        QPainter painter(&picture);
        paint(painter, around, centre, QRect(QPoint(0, 0), frame.size()));
        painter.end();
        mMagnifier->show(frame.topLeft(), picture.convertToFormat(mCopy->format()));
    }
    // The mask lets the magnifier show over the hole; elsewhere it stays.
    if (wasOverHole || magnifierOverHole()) {
        updateMask();
    }
}

bool PickOverlay::magnifierOverHole() const {
    const QRect magnifier = magnifierFrame();
    return !magnifier.isNull() && toLogical(magnifier).intersects(mHole);
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
    return place(*mHotSpot, sizeFor(devicePixelRatioF()),
                 QRect(QPoint(0, 0), deviceGeometry().size()));
}

// The logical pixels that hold a device rectangle, with a pixel to spare for
// the rounding at fractional scales.
QRect PickOverlay::toLogical(const QRect& device) const {
    return forms::devicepixels::logicalCover(device, devicePixelRatioF()).adjusted(-1, -1, 1, 1);
}

void PickOverlay::paintEvent(QPaintEvent* /*event*/) {
    // Nothing: the copy is the window's background, the magnifier a window
    // of its own.
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

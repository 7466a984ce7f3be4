#include "picturebox.h"

#include "eventboundary.h"
#include "keyboard.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

int16_t buttonMask(Qt::MouseButtons buttons) {
    int16_t mask = 0;
    mask |= (buttons & Qt::LeftButton) ? 1 : 0;
    mask |= (buttons & Qt::RightButton) ? 2 : 0;
    mask |= (buttons & Qt::MiddleButton) ? 4 : 0;
    return mask;
}

// The half-open pixel range a span of device coordinates touches, never empty.
std::pair<int, int> pixelSpan(double from, double to) {
    const double low = std::min(from, to);
    const double high = std::max(from, to);
    const int first = static_cast<int>(std::floor(low));
    const int last = std::max(first + 1, static_cast<int>(std::ceil(high)));
    return {first, last};
}

int refreshIntervalMs(const QWidget* widget) {
    const QScreen* screen = widget->screen();
    const double rate =
        screen != nullptr && screen->refreshRate() > 1.0 ? screen->refreshRate() : 60.0;
    return std::max(1, static_cast<int>(1000.0 / rate));
}

} // namespace

PictureBox::PictureBox(QWidget* parent) : FlatControl(parent) {
    setAccessibleRole(QAccessible::Graphic);
    setMouseTracking(true);
    setAttribute(Qt::WA_StaticContents);
    mRefreshTimer.setSingleShot(true);
    QObject::connect(&mRefreshTimer, &QTimer::timeout, this, [this] { flushDirty(); });
}

void PictureBox::scale(float x1, float y1, float x2, float y2) {
    if (x1 == x2 || y1 == y2) {
        throw RuntimeError::invalidProcedureCall();
    }
    mScale = UserScale::corners(x1, y1, x2, y2);
}

QSize PictureBox::deviceClientSize() const {
    const double ratio = devicePixelRatioF();
    const QSize logical = clientRect().size();
    return {std::max(1, static_cast<int>(std::lround(logical.width() * ratio))),
            std::max(1, static_cast<int>(std::lround(logical.height() * ratio)))};
}

ScaleAxis PictureBox::horizontalAxis() const {
    return mScale.horizontal(deviceClientSize(), devicePixelRatioF());
}

ScaleAxis PictureBox::verticalAxis() const {
    return mScale.vertical(deviceClientSize(), devicePixelRatioF());
}

QImage& PictureBox::persistentImage() {
    if (mImage.size() != deviceClientSize()) {
        mImage = QImage(deviceClientSize(), QImage::Format_RGB32);
        mImage.setDevicePixelRatio(devicePixelRatioF());
        mImage.fill(resolved(backColor()));
        if (!mPicture.isNone()) {
            QPainter painter(&mImage);
            painter.drawImage(QPointF(0, 0), mPicture.image());
        }
    }
    return mImage;
}

QImage PictureBox::image() {
    return persistentImage();
}

QRect PictureBox::devicePixelsOf(float x1, float y1, float x2, float y2) const {
    const ScaleAxis across = horizontalAxis();
    const ScaleAxis down = verticalAxis();
    const auto [left, right] = pixelSpan(across.toDevice(x1), across.toDevice(x2));
    const auto [top, bottom] = pixelSpan(down.toDevice(y1), down.toDevice(y2));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void PictureBox::lineBox(float x1, float y1, float x2, float y2, std::optional<ColorValue> color) {
    const ColorValue pen = validatedColor(color.value_or(foreColor()));
    QImage& target = persistentImage();
    const QRect area = devicePixelsOf(x1, y1, x2, y2).intersected(target.rect());
    if (area.isEmpty()) {
        return;
    }
    const QRgb fill = resolved(pen).rgb();
    for (int row = area.top(); row <= area.bottom(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(row));
        if (mDrawMode == DrawMode::Invert) {
            for (int column = area.left(); column <= area.right(); ++column) {
                line[column] ^= 0x00FFFFFFu;
            }
        } else {
            std::fill(line + area.left(), line + area.right() + 1, fill);
        }
    }
    markDirty(area);
}

ColorValue PictureBox::point(float x, float y) {
    const QImage& source = persistentImage();
    // A point outside the drawing area reads the nearest pixel inside it, so
    // the answer is always a colour the box really shows.
    const auto clampedPixel = [](double device, int extent) {
        if (!std::isfinite(device)) {
            return 0;
        }
        return static_cast<int>(std::clamp(std::floor(device), 0.0, extent - 1.0));
    };
    const int column = clampedPixel(horizontalAxis().toDevice(x), source.width());
    const int row = clampedPixel(verticalAxis().toDevice(y), source.height());
    return colorValueFromRgb(source.pixel(column, row));
}

void PictureBox::setPicture(const Picture& picture) {
    mPicture = picture;
    mImage = QImage();
    update();
}

void PictureBox::backColorChanged() {
    mImage = QImage();
}

void PictureBox::markDirty(const QRect& deviceRect) {
    const double ratio = devicePixelRatioF();
    const QRect logical(QPoint(static_cast<int>(std::floor(deviceRect.left() / ratio)),
                               static_cast<int>(std::floor(deviceRect.top() / ratio))),
                        QPoint(static_cast<int>(std::ceil((deviceRect.right() + 1) / ratio)),
                               static_cast<int>(std::ceil((deviceRect.bottom() + 1) / ratio))));
    mDirty += logical.translated(clientRect().topLeft());
    // The screen is refreshed at display rate, however many draws arrive.
    if (!mRefreshTimer.isActive()) {
        const int interval = refreshIntervalMs(this);
        const qint64 waited = mSinceRefresh.isValid() ? mSinceRefresh.elapsed() : interval;
        if (waited >= interval) {
            flushDirty();
        } else {
            mRefreshTimer.start(static_cast<int>(interval - waited));
        }
    }
}

void PictureBox::flushDirty() {
    update(mDirty);
    mDirty = QRegion();
    mSinceRefresh.start();
}

void PictureBox::paintContent(QPainter& painter, const QRect& /*dirty*/) {
    const QRect client = clientRect();
    painter.setClipRect(client);
    if (!mImage.isNull() || !mPicture.isNone()) {
        painter.drawImage(client.topLeft(), persistentImage());
    }
}

MouseEventArgs PictureBox::mouseArgs(const QMouseEvent* event) const {
    const QPointF local = event->position() - QPointF(clientRect().topLeft());
    const double ratio = devicePixelRatioF();
    // The pointer's hot spot stands for the centre of the device pixel under it.
    const double column = std::floor(local.x() * ratio) + 0.5;
    const double row = std::floor(local.y() * ratio) + 0.5;
    return {buttonMask(event->button() | event->buttons()), keyboard::shiftMask(event->modifiers()),
            static_cast<float>(horizontalAxis().toUnits(column)),
            static_cast<float>(verticalAxis().toUnits(row))};
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (mDragMode == DragMode::Automatic && clientRect().contains(event->position().toPoint())) {
        mDragging = true;
        const QPixmap icon = mDragIcon.isNone() ? QPixmap() : mDragIcon.pixmap();
        QGuiApplication::setOverrideCursor(icon.isNull() ? QCursor(Qt::DragMoveCursor)
                                                         : QCursor(icon));
    }
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (mDragging || !onMouseMove) {
        return;
    }
    const bool grabbed = event->buttons() != Qt::NoButton;
    if (!grabbed && !clientRect().contains(event->position().toPoint())) {
        return;
    }
    const MouseEventArgs args = mouseArgs(event);
    eventboundary::enter([&] { onMouseMove(args); });
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (mDragging) {
        finishDrag(event);
        return;
    }
    if (onMouseUp) {
        const MouseEventArgs args = mouseArgs(event);
        eventboundary::enter([&] { onMouseUp(args); });
    }
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (onDblClick) {
        eventboundary::enter([&] { onDblClick(); });
        return;
    }
    mousePressEvent(event);
}

void PictureBox::finishDrag(const QMouseEvent* event) {
    mDragging = false;
    QGuiApplication::restoreOverrideCursor();
    const QPoint global = event->globalPosition().toPoint();
    // The drop belongs to the control under the pointer, and only to it.
    QWidget* under = QApplication::widgetAt(global);
    while (under != nullptr && dynamic_cast<FlatControl*>(under) == nullptr) {
        under = under->parentWidget();
    }
    {
        auto* target = dynamic_cast<PictureBox*>(under);
        if (target != nullptr && target->onDragDrop && target->isEnabled()) {
            const QPointF local = target->mapFromGlobal(event->globalPosition()) -
                                  QPointF(target->clientRect().topLeft());
            const double ratio = target->devicePixelRatioF();
            const auto x = static_cast<float>(target->horizontalAxis().toUnits(local.x() * ratio));
            const auto y = static_cast<float>(target->verticalAxis().toUnits(local.y() * ratio));
            eventboundary::enter([&] { target->onDragDrop(this, x, y); });
            return;
        }
    }
}

} // namespace forms

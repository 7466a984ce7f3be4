#include "forms/picturebox.h"

#include "forms/devicepixels.h"
#include "forms/eventboundary.h"
#include "forms/keyboard.h"
#include "forms/pointerpixel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

// The mouse-button mask: 1 left, 2 right, 4 middle.
int16_t buttonMask(Qt::MouseButtons buttons) {
    constexpr int16_t LeftMask = 1;
    constexpr int16_t RightMask = 2;
    constexpr int16_t MiddleMask = 4;
    int16_t mask = 0;
    mask |= (buttons & Qt::LeftButton) ? LeftMask : 0;
    mask |= (buttons & Qt::RightButton) ? RightMask : 0;
    mask |= (buttons & Qt::MiddleButton) ? MiddleMask : 0;
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

// How far inside its area the focus outline runs, in device-independent
// pixels: clear of a button's bevel.
constexpr double FocusMarkInset = 3.0;

} // namespace

PictureBox::PictureBox(QWidget* parent) : FlatControl(parent) {
    setAccessibleRole(QAccessible::Graphic);
    setMouseTracking(true);
    setAttribute(Qt::WA_StaticContents);
    setAcceptDrops(true);
}

void PictureBox::scale(float x1, float y1, float x2, float y2) {
    if (x1 == x2 || y1 == y2) {
        throw RuntimeError::invalidProcedureCall();
    }
    mScale = UserScale::corners(x1, y1, x2, y2);
}

QRect PictureBox::deviceClientRect() const {
    const double ratio = devicePixelRatioF();
    const QRect client = clientRect();
    const QPoint inWindow = mapTo(window(), client.topLeft());
    const int left = devicepixels::edge(inWindow.x(), ratio);
    const int top = devicepixels::edge(inWindow.y(), ratio);
    const int right = std::max(left + 1, devicepixels::edge(inWindow.x() + client.width(), ratio));
    const int bottom = std::max(top + 1, devicepixels::edge(inWindow.y() + client.height(), ratio));
    return {QPoint(left, top), QPoint(right - 1, bottom - 1)};
}

ScaleAxis PictureBox::horizontalAxis(const UserScale& scale, QSize deviceSize) const {
    return scale.horizontal(deviceSize, devicePixelRatioF());
}

ScaleAxis PictureBox::verticalAxis(const UserScale& scale, QSize deviceSize) const {
    return scale.vertical(deviceSize, devicePixelRatioF());
}

QImage& PictureBox::persistentImage() {
    const QSize size = deviceClientRect().size();
    if (mImage.size() != size) {
        // First use, or a new device pixel ratio: everything drawn so far is
        // drawn again at the new size.
        mImage = QImage(size, QImage::Format_RGB32);
        mImage.fill(resolved(backColor()));
        if (!mPicture.isNone()) {
            QPainter painter(&mImage);
            painter.scale(devicePixelRatioF(), devicePixelRatioF());
            painter.drawImage(QPointF(0, 0), mPicture.image());
        }
        mDrawing.replay(mImage, [this, size](const DrawingRecord::Box& box) {
            return devicePixelsOf(box, size);
        });
    }
    return mImage;
}

QImage PictureBox::image() {
    return persistentImage();
}

// The pixels a box covers on an image of the given size.
QRect PictureBox::devicePixelsOf(const DrawingRecord::Box& box, QSize deviceSize) const {
    const ScaleAxis across = horizontalAxis(box.scale, deviceSize);
    const ScaleAxis down = verticalAxis(box.scale, deviceSize);
    const auto [left, right] = pixelSpan(across.toDevice(box.x1), across.toDevice(box.x2));
    const auto [top, bottom] = pixelSpan(down.toDevice(box.y1), down.toDevice(box.y2));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void PictureBox::lineBox(float x1, float y1, float x2, float y2, std::optional<ColorValue> color) {
    const ColorValue pen = validatedColor(color.value_or(foreColor()));
    QImage& target = persistentImage();
    const DrawingRecord::Box box{
        mScale, x1, y1, x2, y2, resolved(pen).rgb(), mDrawMode == DrawMode::Invert};
    const QRect area = devicePixelsOf(box, target.size()).intersected(target.rect());
    // A box beside the client area covers none of it at any scale: there is
    // nothing to draw again.
    if (area.isEmpty()) {
        return;
    }
    fillPixels(target, area, box.fill, box.invert);
    mDrawing.add(box);
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
    const int column =
        clampedPixel(horizontalAxis(mScale, source.size()).toDevice(x), source.width());
    const int row = clampedPixel(verticalAxis(mScale, source.size()).toDevice(y), source.height());
    return colorValueFromRgb(source.pixel(column, row));
}

void PictureBox::setPicture(const Picture& picture) {
    mPicture = picture;
    mImage = QImage();
    mDrawing.clear();
    update();
}

void PictureBox::backColorChanged() {
    mImage = QImage();
    mDrawing.clear();
}

void PictureBox::markDirty(const QRect& imagePixels) {
    const QRect inWindow = devicepixels::logicalCover(
        imagePixels.translated(deviceClientRect().topLeft()), devicePixelRatioF());
    mRefresh.drawn(inWindow.translated(-mapTo(window(), QPoint(0, 0))));
}

void PictureBox::paintContent(QPainter& painter, const QRect& /*dirty*/) {
    if (mImage.isNull() && mPicture.isNone()) {
        return;
    }
    const QImage& image = persistentImage();
    painter.setClipRect(clientRect());
    // Drawn in device pixels, from the whole device pixel where the client
    // area starts, so that no pixel of the image is resampled.
    const QTransform toDevice = painter.deviceTransform();
    const QPointF origin = toDevice.map(QPointF(clientRect().topLeft()));
    painter.setWorldTransform(toDevice.inverted());
    const QPoint imageOrigin = devicepixels::edge(origin);
    painter.drawImage(imageOrigin, image);
    if (mFocusMarkArea && showsFocusMark()) {
        // A dotted outline a few pixels inside the area, on screen only.
        const double ratio = devicePixelRatioF();
        const QRectF& area = *mFocusMarkArea;
        const auto inset = static_cast<int>(std::ceil(FocusMarkInset * ratio));
        const QRect outline =
            devicePixelsOf({mScale, static_cast<float>(area.left()), static_cast<float>(area.top()),
                            static_cast<float>(area.right()), static_cast<float>(area.bottom()), 0,
                            false},
                           image.size())
                .adjusted(inset, inset, -inset, -inset)
                .translated(imageOrigin);
        QPen pen(resolved(SystemColor::WindowText), std::max(1, static_cast<int>(ratio)),
                 Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(outline);
    }
}

// The mark is kept as a part of the bar's height, so that it stays on the
// same colour when the device pixel ratio changes the number of rows.
void PictureBox::setPositionMark(std::optional<int> imageRow) {
    if (imageRow == positionMark()) {
        return;
    }
    const int rows = imageSize().height();
    mPositionMark =
        imageRow ? std::optional<double>((*imageRow + 0.5) / std::max(rows, 1)) : std::nullopt;
    if (showsFocusMark()) {
        updateContainerMarks();
    }
}

std::optional<int> PictureBox::positionMark() const {
    if (!mPositionMark) {
        return std::nullopt;
    }
    const int rows = imageSize().height();
    return std::clamp(static_cast<int>(std::floor(*mPositionMark * rows)), 0, rows - 1);
}

void PictureBox::setFocusMarkArea(std::optional<QRectF> area) {
    mFocusMarkArea = area;
    if (showsFocusMark()) {
        update();
    }
}

// The centre of the marked device row, in this box's logical coordinates.
std::optional<double> PictureBox::positionMarkY() const {
    const std::optional<int> mark = positionMark();
    if (!mark) {
        return std::nullopt;
    }
    const int row = *mark;
    const double rowCentre = deviceClientRect().top() + row + 0.5;
    return rowCentre / devicePixelRatioF() - mapTo(window(), QPoint(0, 0)).y();
}

QPoint PictureBox::devicePixelUnderPointer(const QMouseEvent* event) const {
    return pointerpixel::underPointer(*this, *event, mPointerJustEntered);
}

// The device pixel of the window that holds a point given in logical pixels.
QPoint PictureBox::devicePixelAt(QPointF inWindow) const {
    return devicepixels::pixelAt(inWindow, devicePixelRatioF());
}

QPoint PictureBox::imagePixelAt(QPoint windowPixel) const {
    return windowPixel - deviceClientRect().topLeft();
}

bool PictureBox::clientContains(QPoint windowPixel) const {
    return QRect(QPoint(0, 0), deviceClientRect().size()).contains(imagePixelAt(windowPixel));
}

QPointF PictureBox::unitsAt(QPoint windowPixel) const {
    return unitsAtImagePixel(imagePixelAt(windowPixel));
}

// The hot spot stands for the centre of the device pixel under it.
QPointF PictureBox::unitsAtImagePixel(QPoint pixel) const {
    const QSize deviceSize = deviceClientRect().size();
    return {horizontalAxis(mScale, deviceSize).toUnits(pixel.x() + 0.5),
            verticalAxis(mScale, deviceSize).toUnits(pixel.y() + 0.5)};
}

MouseEventArgs PictureBox::mouseArgs(const QMouseEvent* event) const {
    const QPointF units = unitsAt(devicePixelUnderPointer(event));
    return {buttonMask(event->button() | event->buttons()), keyboard::shiftMask(event->modifiers()),
            static_cast<float>(units.x()), static_cast<float>(units.y())};
}

void PictureBox::enterEvent(QEnterEvent* event) {
    mPointerJustEntered = true;
    FlatControl::enterEvent(event);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    mDragDrop.pressed(event);
    mPointerJustEntered = false;
}

QPixmap PictureBox::dragIconPixmap() const {
    return mDragIcon.isNone() ? QPixmap() : mDragIcon.pixmap();
}

// The picture box that a widget under the pointer belongs to, if any.
PictureBox* PictureBox::pictureBoxOf(QWidget* under) {
    while (under != nullptr && dynamic_cast<FlatControl*>(under) == nullptr) {
        under = under->parentWidget();
    }
    return dynamic_cast<PictureBox*>(under);
}

// The picture box at a point of the screen, in any window of the program.
PictureBox* PictureBox::pictureBoxAt(QPointF global) {
    return pictureBoxOf(QApplication::widgetAt(global.toPoint()));
}

// The picture box of this window at a device pixel of it, if any. The
// window's own pixel, not the screen's point: in a window across monitors
// of different densities Qt maps screen points through the wrong monitor.
PictureBox* PictureBox::boxAt(QPoint windowPixel) const {
    const QPointF logical = (QPointF(windowPixel) + QPointF(0.5, 0.5)) / devicePixelRatioF();
    return pictureBoxOf(window()->childAt(QPoint(static_cast<int>(std::floor(logical.x())),
                                                 static_cast<int>(std::floor(logical.y())))));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPoint windowPixel = devicePixelUnderPointer(event);
    mPointerJustEntered = false;
    if (mDragDrop.moved(event)) {
        return;
    }
    // A held button keeps the moves coming here wherever the pointer goes;
    // over another box of the window, that box picks. Elsewhere this one
    // does, at the nearest pixel it has.
    PictureBox* target = this;
    if (!clientContains(windowPixel)) {
        if (event->buttons() == Qt::NoButton) {
            return;
        }
        PictureBox* other = boxAt(windowPixel);
        if (other != nullptr && other->onMouseMove && other->clientContains(windowPixel)) {
            target = other;
        }
    }
    if (!target->onMouseMove) {
        return;
    }
    const QPointF units = target->unitsAt(windowPixel);
    const MouseEventArgs args{buttonMask(event->buttons()), keyboard::shiftMask(event->modifiers()),
                              static_cast<float>(units.x()), static_cast<float>(units.y())};
    eventboundary::enter([&] { target->onMouseMove(args); });
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (mDragDrop.released(event)) {
        return;
    }
    if (onMouseUp) {
        const MouseEventArgs args = mouseArgs(event);
        eventboundary::enter([&] { onMouseUp(args); });
    }
    mPointerJustEntered = false;
    mDragDrop.offerContextMenu(event);
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double-click is the primary button's; with another button it is just
    // a second press.
    if (onDblClick && event->button() == Qt::LeftButton) {
        eventboundary::enter([&] { onDblClick(); });
        return;
    }
    mousePressEvent(event);
}

void PictureBox::dragEnterEvent(QDragEnterEvent* event) {
    mDragDrop.acceptDesktopDrag(event);
}

void PictureBox::dragMoveEvent(QDragMoveEvent* event) {
    mDragDrop.acceptDesktopDrag(event);
}

void PictureBox::dropEvent(QDropEvent* event) {
    mDragDrop.dropped(event);
}

void PictureBox::contextMenuEvent(QContextMenuEvent* event) {
    mDragDrop.contextMenuRequested(event);
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    keyboard::takeOrPassOnKey(*event, onKeyDown);
}

} // namespace forms

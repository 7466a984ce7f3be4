#include "screenpick/magnifier.h"

#include "forms/colorvalue.h"

#include <QFont>
#include <QPainter>

#include <array>
#include <cmath>

namespace screenpick::magnifier {

namespace {

constexpr int LogicalBlock = 8;
constexpr int LogicalCaption = 18;
constexpr int LogicalFont = 12;
constexpr int Half = Cells / 2;

int scaled(int logical, qreal devicePixelRatio) {
    return std::max(1, static_cast<int>(std::lround(logical * devicePixelRatio)));
}

int blockOf(const QRect& frame) {
    return (frame.width() - 1) / Cells;
}

} // namespace

QRect sourceArea(QPoint hotSpot) {
    return {hotSpot - QPoint(Half, Half), QSize(Cells, Cells)};
}

QSize sizeFor(qreal devicePixelRatio) {
    const int side = Cells * scaled(LogicalBlock, devicePixelRatio) + 1;
    return {side, side + scaled(LogicalCaption, devicePixelRatio)};
}

QRect place(QPoint hotSpot, QSize size, const QRect& screen) {
    // Clear of the pixels shown, so the magnifier never hides what it reads.
    const int gap = Half + 1 + size.height() / 8;
    const std::array<QPoint, 4> corners = {
        hotSpot + QPoint(gap, gap), QPoint(hotSpot.x() - gap - size.width() + 1, hotSpot.y() + gap),
        QPoint(hotSpot.x() + gap, hotSpot.y() - gap - size.height() + 1),
        hotSpot - QPoint(gap + size.width() - 1, gap + size.height() - 1)};
    for (const QPoint& corner : corners) {
        const QRect frame(corner, size);
        if (screen.contains(frame)) {
            return frame;
        }
    }
    // A screen smaller than the magnifier and its gap: the first place.
    return {corners.front(), size};
}

void paint(QPainter& painter, const QImage& image, QPoint hotSpot, const QRect& frame) {
    const int block = blockOf(frame);
    const int side = Cells * block + 1;
    const QRect source = sourceArea(hotSpot);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(frame, Qt::black);
    for (int row = 0; row < Cells; ++row) {
        for (int column = 0; column < Cells; ++column) {
            const QPoint at = source.topLeft() + QPoint(column, row);
            const QColor color = image.valid(at) ? image.pixelColor(at) : QColor(Qt::black);
            painter.fillRect(frame.left() + 1 + column * block, frame.top() + 1 + row * block,
                             block - 1, block - 1, color);
        }
    }
    // The centre pixel: a dark and a light outline, visible on any colour.
    const QRect centre(frame.left() + Half * block, frame.top() + Half * block, block + 1,
                       block + 1);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawRect(centre.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(centre.adjusted(-1, -1, 0, 0));

    // A grey edge, seen on dark and light screens alike.
    painter.setPen(QPen(Qt::gray, 0));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    const QRect caption(frame.left(), frame.top() + side, frame.width(), frame.height() - side);
    const QRgb under = image.valid(hotSpot) ? image.pixel(hotSpot) : qRgb(0, 0, 0);
    QFont font = painter.font();
    font.setPixelSize(std::max(1, caption.height() * LogicalFont / LogicalCaption));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(caption, Qt::AlignCenter, forms::hexTriplet(under));
    painter.restore();
}

} // namespace screenpick::magnifier

#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;

// The magnifier beside the cross-hair: a square of device pixels around the
// hot spot, each drawn as a block with a thin grid, the centre one outlined,
// and its "#RRGGBB" below. Everything here is in device pixels.
namespace screenpick::magnifier {

// Device pixels across and down; the hot spot is the middle one.
constexpr int Cells = 11;

// The device pixels the magnifier shows around a hot spot.
QRect sourceArea(QPoint hotSpot);

// The magnifier's size for a device pixel ratio: blocks of about eight
// logical pixels, a caption strip below them.
QSize sizeFor(qreal devicePixelRatio);

// Where the magnifier stands for a hot spot: beside it (below right, else
// below left, above right, above left), inside the screen where it fits,
// and never over the pixels it shows.
QRect place(QPoint hotSpot, QSize size, const QRect& screen);

// Draws the magnifier into `frame` from `image`, the hot spot given in the
// image's pixels; pixels outside the image show as black.
void paint(QPainter& painter, const QImage& image, QPoint hotSpot, const QRect& frame);

} // namespace screenpick::magnifier

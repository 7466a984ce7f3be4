#pragma once

#include "forms/userscale.h"

#include <QRect>
#include <QRgb>

#include <compare>
#include <functional>
#include <map>
#include <vector>

class QImage;

namespace forms {

// What has been drawn into a picture box, kept in the box's own units so that
// it can be drawn again, crisp, at any device pixel ratio. A box that exactly
// covers an earlier one replaces it, and an inverted box drawn twice over the
// same cell with nothing opaque drawn over it in between cancels out, so
// repainting the same picture or marking cells again and again does not make
// the record grow.
class DrawingRecord {
  public:
    struct Box {
        UserScale scale;
        float x1, y1, x2, y2;
        QRgb fill;
        bool invert;
    };

    void add(const Box& box);
    void clear();

    // Draws every box still recorded, oldest first; devicePixels gives the
    // pixels a box covers on the target.
    void replay(QImage& target, const std::function<QRect(const Box&)>& devicePixels) const;

  private:
    // Where a box lies: its scale and its corners as given.
    struct Geometry {
        UserScale scale;
        float x1, y1, x2, y2;
        auto operator<=>(const Geometry&) const = default;
    };
    static Geometry geometryOf(const Box& box);
    static bool mayOverlap(const Box& a, const Box& b);
    void erase(std::size_t index);
    void compact();

    std::vector<Box> mBoxes;
    std::vector<bool> mLive;
    std::size_t mErased = 0;
    // Live boxes by geometry, oldest first.
    std::map<Geometry, std::vector<std::size_t>> mByGeometry;
};

// Fills or inverts the given pixels of an RGB32 image.
void fillPixels(QImage& target, const QRect& pixels, QRgb fill, bool invert);

} // namespace forms

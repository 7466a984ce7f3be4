#include "forms/drawingrecord.h"

#include <QImage>

#include <algorithm>

namespace forms {

namespace {

struct Span {
    float low, high;
};

Span spanOf(float a, float b) {
    return {std::min(a, b), std::max(a, b)};
}

bool touches(Span a, Span b) {
    return a.low <= b.high && b.low <= a.high;
}

} // namespace

DrawingRecord::Geometry DrawingRecord::geometryOf(const Box& box) {
    return {box.scale, box.x1, box.y1, box.x2, box.y2};
}

// Boxes in different scales are taken to overlap: their pixels depend on the
// client area's size, which can change.
bool DrawingRecord::mayOverlap(const Box& a, const Box& b) {
    if (a.scale != b.scale) {
        return true;
    }
    return touches(spanOf(a.x1, a.x2), spanOf(b.x1, b.x2)) &&
           touches(spanOf(a.y1, a.y2), spanOf(b.y1, b.y2));
}

void DrawingRecord::add(const Box& box) {
    const Geometry geometry = geometryOf(box);
    std::vector<std::size_t>& same = mByGeometry[geometry];
    if (box.invert) {
        // Inverting the same pixels twice restores them, unless something
        // opaque drawn in between touched them: inversions in between change
        // nothing, as inversions may be done in any order.
        if (!same.empty() && mBoxes[same.back()].invert) {
            const std::size_t previous = same.back();
            bool touchedSince = false;
            for (std::size_t later = previous + 1; later < mBoxes.size() && !touchedSince;
                 ++later) {
                touchedSince =
                    mLive[later] && !mBoxes[later].invert && mayOverlap(mBoxes[later], box);
            }
            if (!touchedSince) {
                same.pop_back();
                erase(previous);
                compact();
                return;
            }
        }
    } else {
        // An opaque box hides every earlier box of exactly its geometry.
        for (const std::size_t hidden : same) {
            erase(hidden);
        }
        same.clear();
    }
    same.push_back(mBoxes.size());
    mBoxes.push_back(box);
    mLive.push_back(true);
    compact();
}

void DrawingRecord::clear() {
    mBoxes.clear();
    mLive.clear();
    mByGeometry.clear();
    mErased = 0;
}

void DrawingRecord::erase(std::size_t index) {
    mLive[index] = false;
    ++mErased;
}

// Drops erased boxes once they outnumber the live ones.
void DrawingRecord::compact() {
    if (mErased < 64 || mErased * 2 < mBoxes.size()) {
        return;
    }
    std::vector<Box> kept;
    kept.reserve(mBoxes.size() - mErased);
    for (std::size_t index = 0; index < mBoxes.size(); ++index) {
        if (mLive[index]) {
            kept.push_back(mBoxes[index]);
        }
    }
    clear();
    mBoxes = std::move(kept);
    mLive.assign(mBoxes.size(), true);
    for (std::size_t index = 0; index < mBoxes.size(); ++index) {
        mByGeometry[geometryOf(mBoxes[index])].push_back(index);
    }
}

void DrawingRecord::replay(QImage& target,
                           const std::function<QRect(const Box&)>& devicePixels) const {
    for (std::size_t index = 0; index < mBoxes.size(); ++index) {
        if (mLive[index]) {
            const Box& box = mBoxes[index];
            fillPixels(target, devicePixels(box), box.fill, box.invert);
        }
    }
}

void fillPixels(QImage& target, const QRect& pixels, QRgb fill, bool invert) {
    const QRect area = pixels.intersected(target.rect());
    for (int row = area.top(); row <= area.bottom(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(row));
        if (invert) {
            for (int column = area.left(); column <= area.right(); ++column) {
                line[column] ^= 0x00FFFFFFu;
            }
        } else {
            std::fill(line + area.left(), line + area.right() + 1, fill);
        }
    }
}

} // namespace forms

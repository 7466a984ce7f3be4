#include "forms/userscale.h"

#include "forms/twips.h"

namespace forms {

UserScale UserScale::corners(float x1, float y1, float x2, float y2) {
    UserScale scale;
    scale.mCorners = Corners{x1, y1, x2, y2};
    return scale;
}

ScaleAxis UserScale::horizontal(QSize deviceSize, double devicePixelRatio) const {
    if (!mCorners) {
        return {0.0, twips::TwipsPerPixel / devicePixelRatio};
    }
    return {mCorners->x1, (static_cast<double>(mCorners->x2) - mCorners->x1) / deviceSize.width()};
}

ScaleAxis UserScale::vertical(QSize deviceSize, double devicePixelRatio) const {
    if (!mCorners) {
        return {0.0, twips::TwipsPerPixel / devicePixelRatio};
    }
    return {mCorners->y1, (static_cast<double>(mCorners->y2) - mCorners->y1) / deviceSize.height()};
}

} // namespace forms

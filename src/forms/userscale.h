#pragma once

#include <QSize>

#include <compare>
#include <optional>

namespace forms {

// One axis of a picture box's coordinate system: where device pixel 0 lies in
// user units, and how many units one device pixel spans. Both directions of the
// mapping use the same two numbers, so a point survives the round trip.
struct ScaleAxis {
    double origin = 0.0;
    double unitsPerPixel = 1.0;

    double toDevice(double units) const { return (units - origin) / unitsPerPixel; }
    double toUnits(double device) const { return origin + device * unitsPerPixel; }
};

// The coordinate system of a picture box's client area: twips by default, or
// the user scale (x1,y1)-(x2,y2) that `Scale` sets.
class UserScale {
  public:
    static UserScale twips() { return {}; }
    static UserScale corners(float x1, float y1, float x2, float y2);

    // The axes for a client area of deviceSize device pixels at the given ratio.
    ScaleAxis horizontal(QSize deviceSize, double devicePixelRatio) const;
    ScaleAxis vertical(QSize deviceSize, double devicePixelRatio) const;

    bool isTwips() const { return !mCorners.has_value(); }

    // Two scales are the same when both are twips or both have the same
    // corners; the order only serves to key a map.
    auto operator<=>(const UserScale&) const = default;

  private:
    struct Corners {
        float x1, y1, x2, y2;
        auto operator<=>(const Corners&) const = default;
    };
    std::optional<Corners> mCorners;
};

} // namespace forms

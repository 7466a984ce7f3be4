#include "palette/colorramps.h"

#include "forms/checkedmath.h"

namespace palette::ramps {

namespace {

constexpr int32_t HalfWay = 255;
constexpr int32_t GreyBar = 6;

// Which channels carry the hue on bars 0 to 5: red, green, blue.
struct Hue {
    bool red, green, blue;
};
constexpr Hue Hues[6] = {{true, false, false}, {false, true, false}, {false, false, true},
                         {true, true, false},  {false, true, true},  {true, false, true}};

} // namespace

std::optional<forms::ColorValue> colorAt(int32_t nBar, int32_t pos) {
    using forms::checked::narrow16;
    if (nBar < 0 || nBar > GreyBar) {
        return std::nullopt;
    }
    if (nBar == GreyBar) {
        const int16_t grey = narrow16(pos / 2);
        return forms::rgb(grey, grey, grey);
    }
    const Hue hue = Hues[nBar];
    // The low half raises the hue's channels from black; the high half holds
    // them at 255 and raises the others towards white.
    const bool lowHalf = pos <= HalfWay;
    const int16_t rising = narrow16(lowHalf ? pos : forms::checked::subtract(pos, HalfWay));
    const int16_t hueLevel = lowHalf ? rising : int16_t{255};
    const int16_t otherLevel = lowHalf ? int16_t{0} : rising;
    return forms::rgb(hue.red ? hueLevel : otherLevel, hue.green ? hueLevel : otherLevel,
                      hue.blue ? hueLevel : otherLevel);
}

} // namespace palette::ramps

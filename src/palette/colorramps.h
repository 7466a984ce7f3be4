#pragma once

#include "forms/colorvalue.h"

#include <cstdint>
#include <optional>

// The seven colour ramps of the palette: red, green, blue, yellow, cyan and
// magenta from black through the pure hue to white, and grey from black to
// white, each over positions 0 (dark) to 512 (light).
namespace palette::ramps {

constexpr int32_t BarCount = 7;
constexpr int32_t FirstPosition = 0;
constexpr int32_t LastPosition = 512;

// The colour of bar nBar at position pos; empty for a bar outside 0 to 6.
// A channel that does not fit in 16 bits raises the overflow error.
std::optional<forms::ColorValue> colorAt(int32_t nBar, int32_t pos);

} // namespace palette::ramps

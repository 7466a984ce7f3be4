#pragma once

#include <cstdint>

// The application-wide mouse pointer (Screen.MousePointer): a value, not a
// stack, so setting the hourglass twice and the default once leaves none.
namespace forms::screen {

constexpr int16_t DefaultPointer = 0;
constexpr int16_t Hourglass = 11;

void setMousePointer(int16_t pointer);
int16_t mousePointer();

} // namespace forms::screen

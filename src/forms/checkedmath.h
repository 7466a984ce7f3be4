#pragma once

#include <cstdint>

// Integer arithmetic of the form runtime: every result is tested against its
// type, and a value outside it raises the overflow error.
namespace forms::checked {

int16_t narrow16(int32_t value);
int32_t add(int32_t a, int32_t b);
int32_t subtract(int32_t a, int32_t b);
// floor(value) as a whole number; a non-finite value or one outside 32 bits
// is the floating-point error of the runtime (overflow).
int32_t floorToInt(float value);

} // namespace forms::checked

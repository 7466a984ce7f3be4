#include "forms/checkedmath.h"

#include "forms/runtimeerror.h"

#include <cmath>
#include <limits>

namespace forms::checked {

int16_t narrow16(int32_t value) {
    if (value < std::numeric_limits<int16_t>::min() ||
        value > std::numeric_limits<int16_t>::max()) {
        throw RuntimeError::overflow();
    }
    return static_cast<int16_t>(value);
}

int32_t add(int32_t a, int32_t b) {
    int32_t result = 0;
    if (__builtin_add_overflow(a, b, &result)) {
        throw RuntimeError::overflow();
    }
    return result;
}

int32_t subtract(int32_t a, int32_t b) {
    int32_t result = 0;
    if (__builtin_sub_overflow(a, b, &result)) {
        throw RuntimeError::overflow();
    }
    return result;
}

int32_t floorToInt(float value) {
    const double floored = std::floor(static_cast<double>(value));
    if (!std::isfinite(floored) || floored < std::numeric_limits<int32_t>::min() ||
        floored > std::numeric_limits<int32_t>::max()) {
        throw RuntimeError::overflow();
    }
    return static_cast<int32_t>(floored);
}

} // namespace forms::checked

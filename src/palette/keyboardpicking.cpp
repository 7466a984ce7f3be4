#include "palette/keyboardpicking.h"

#include "forms/keyboard.h"

#include <algorithm>

namespace palette::keyboardpicking {

std::optional<int> rowAfter(int16_t keyCode, int16_t shift, int row, int rows) {
    using namespace forms::keyboard;
    if (shift != 0 || rows < 1) {
        return std::nullopt;
    }
    const int last = rows - 1;
    const int from = std::clamp(row, 0, last);
    const int page = std::max(1, rows / 10);
    switch (keyCode) {
    case VkUp:
        return std::max(from - 1, 0);
    case VkDown:
        return std::min(from + 1, last);
    case VkPageUp:
        return std::max(from - page, 0);
    case VkPageDown:
        return std::min(from + page, last);
    case VkHome:
        return 0;
    case VkEnd:
        return last;
    default:
        return std::nullopt;
    }
}

} // namespace palette::keyboardpicking

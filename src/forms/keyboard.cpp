#include "keyboard.h"

namespace forms::keyboard {

int16_t virtualKeyCode(int qtKey) {
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<int16_t>(VkF1 + (qtKey - Qt::Key_F1));
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return static_cast<int16_t>(qtKey);
    }
    switch (qtKey) {
    case Qt::Key_Escape:
        return VkEscape;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Space:
        return 32;
    default:
        return 0;
    }
}

int16_t shiftMask(Qt::KeyboardModifiers modifiers) {
    int16_t mask = 0;
    mask |= (modifiers & Qt::ShiftModifier) ? 1 : 0;
    mask |= (modifiers & Qt::ControlModifier) ? 2 : 0;
    mask |= (modifiers & Qt::AltModifier) ? 4 : 0;
    return mask;
}

} // namespace forms::keyboard

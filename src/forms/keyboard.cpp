#include "forms/keyboard.h"

#include "forms/eventboundary.h"

#include <QKeyEvent>

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
        return VkReturn;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VkTab;
    case Qt::Key_Space:
        return VkSpace;
    case Qt::Key_PageUp:
        return VkPageUp;
    case Qt::Key_PageDown:
        return VkPageDown;
    case Qt::Key_End:
        return VkEnd;
    case Qt::Key_Home:
        return VkHome;
    case Qt::Key_Left:
        return VkLeft;
    case Qt::Key_Up:
        return VkUp;
    case Qt::Key_Right:
        return VkRight;
    case Qt::Key_Down:
        return VkDown;
    case Qt::Key_Insert:
        return VkInsert;
    case Qt::Key_Menu:
        return VkApps;
    default:
        return 0;
    }
}

int16_t shiftMask(Qt::KeyboardModifiers modifiers) {
    int16_t mask = 0;
    mask |= (modifiers & Qt::ShiftModifier) ? ShiftMask : 0;
    mask |= (modifiers & Qt::ControlModifier) ? CtrlMask : 0;
    mask |= (modifiers & Qt::AltModifier) ? AltMask : 0;
    return mask;
}

bool isNavigationKey(int16_t keyCode) {
    return keyCode == VkTab || (keyCode >= VkPageUp && keyCode <= VkDown);
}

int16_t callKeyDown(const QKeyEvent& event, const KeyDownHandler& handler) {
    int16_t keyCode = virtualKeyCode(event.key());
    int16_t shift = shiftMask(event.modifiers());
    eventboundary::enter([&] { handler(keyCode, shift); });
    return keyCode;
}

void takeOrPassOnKey(QKeyEvent& event, const KeyDownHandler& handler) {
    if (!handler || virtualKeyCode(event.key()) == 0) {
        event.ignore();
        return;
    }
    event.setAccepted(callKeyDown(event, handler) == 0);
}

bool isPressKey(int16_t keyCode, int16_t shift) {
    return shift == 0 && (keyCode == VkSpace || keyCode == VkReturn);
}

} // namespace forms::keyboard

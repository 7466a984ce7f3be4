#pragma once

#include <Qt>

#include <cstdint>

// Keys and modifiers as the form runtime reports them: virtual-key codes and
// the modifier mask 1 Shift, 2 Ctrl, 4 Alt.
namespace forms::keyboard {

constexpr int16_t VkTab = 9;
constexpr int16_t VkReturn = 13;
constexpr int16_t VkEscape = 27;
constexpr int16_t VkSpace = 32;
constexpr int16_t VkF1 = 112;

// The modifier mask's bits.
constexpr int16_t ShiftMask = 1;
constexpr int16_t CtrlMask = 2;
constexpr int16_t AltMask = 4;

int16_t virtualKeyCode(int qtKey);
int16_t shiftMask(Qt::KeyboardModifiers modifiers);

} // namespace forms::keyboard

#pragma once

#include <Qt>

#include <cstdint>
#include <functional>

class QKeyEvent;

// Keys and modifiers as the form runtime reports them: virtual-key codes and
// the modifier mask 1 Shift, 2 Ctrl, 4 Alt.
namespace forms::keyboard {

constexpr int16_t VkTab = 9;
constexpr int16_t VkReturn = 13;
constexpr int16_t VkEscape = 27;
constexpr int16_t VkSpace = 32;
constexpr int16_t VkPageUp = 33;
constexpr int16_t VkPageDown = 34;
constexpr int16_t VkEnd = 35;
constexpr int16_t VkHome = 36;
constexpr int16_t VkLeft = 37;
constexpr int16_t VkUp = 38;
constexpr int16_t VkRight = 39;
constexpr int16_t VkDown = 40;
constexpr int16_t VkInsert = 45;
constexpr int16_t VkApps = 93;
constexpr int16_t VkF1 = 112;
constexpr int16_t VkF10 = 121;

// The modifier mask's bits.
constexpr int16_t ShiftMask = 1;
constexpr int16_t CtrlMask = 2;
constexpr int16_t AltMask = 4;

int16_t virtualKeyCode(int qtKey);
int16_t shiftMask(Qt::KeyboardModifiers modifiers);

// Tab, the arrows, Page Up and Down, Home and End: the keys that move the
// focus or a position, which tell that the user works from the keyboard.
bool isNavigationKey(int16_t keyCode);

// Space or Enter alone: the keys that do what a click does.
bool isPressKey(int16_t keyCode, int16_t shift);

// A KeyDown handler: it takes the key by setting keyCode to 0.
using KeyDownHandler = std::function<void(int16_t& keyCode, int16_t& shift)>;

// Hands a key press to a KeyDown handler, inside the event boundary, with its
// virtual-key code and modifier mask; returns the code the handler left.
int16_t callKeyDown(const QKeyEvent& event, const KeyDownHandler& handler);

// A control's own KeyDown: the key is accepted when the handler takes it; a
// key without a code, or with no handler to take it, goes on to the parent.
void takeOrPassOnKey(QKeyEvent& event, const KeyDownHandler& handler);

} // namespace forms::keyboard

#pragma once

#include "forms/picture.h"

#include <QWidget>

#include <cstdint>

// Opaque window handles (hWnd) naming our top-level windows. Handle 0 names
// the application itself, which stands in for the hidden application window.
namespace forms::windows {

using WindowHandle = int32_t;
constexpr WindowHandle Application = 0;

WindowHandle handleOf(QWidget* window);
QWidget* windowOf(WindowHandle handle);

// Gives the window (or, for handle 0, every window by default) this icon.
void setIcon(WindowHandle handle, const Picture& icon);

// The window's own big icon, or no picture when none was set on it.
Picture bigIcon(WindowHandle handle);

// The handle of the application's active top-level window, or 0.
WindowHandle activeForm();

} // namespace forms::windows

#pragma once
// The player's mouse on the game's windows, for tests: clicks on controls and pointer moves that
// are routed by position, as the windowing system routes them (controls that take no mouse
// events, such as shapes, let the move through to the window's surface).
#include "shell/controls.h"
#include "shell/window.h"

#include <QPoint>

namespace testing_support {

// Presses and releases the left button in the middle of a control.
void clickControl(const shell::Control& control);
// Double-clicks the left button at a point of a widget.
void doubleClickAt(QWidget* widget, QPoint at);
// Moves the pointer to a point of the window's client area, in pixels; returns the widget that
// received the move.
QWidget* moveTo(const shell::Window& window, QPoint at);
// Moves the pointer to the middle of a control.
QWidget* moveOver(const shell::Window& window, const shell::Control& control);

} // namespace testing_support

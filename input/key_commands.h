#pragma once
// What a key pressed in the main window means to the game: the one place that decides, for the
// control with the focus, whether a key is typed text or a command of the game's.
//
// While a text box has the focus (the hint line, the readout) it gets every key: letters in any
// layout, digits, Space and punctuation type; Backspace, Delete, the arrows, Home, End and Ctrl+A,
// C, V, X and Z edit. No key steers or launches there. Enter and Esc end the typing: the keys go
// back to the game (the wall gets the focus), and nothing is launched.
//
// Everywhere else in the window: ← → and the keys in A's and D's places (Ф and В in the Russian
// layout) steer; Space and Enter launch, Shift+Space and Shift+Enter are the trick. A and D with
// Ctrl or Alt are someone else's shortcut. The menu bar, reached by Alt or F10, walks its menus
// with the arrows and opens one with Enter: no key is the game's there. Every other key is no
// command and is left to the controls.
#include "shell/controls.h"
#include "shell/keys.h"

namespace input {

enum class KeyCommand {
    None,       // not the game's: the control with the focus gets the key
    SteerLeft,  // held: the paddle moves left until the key is let go
    SteerRight,
    Launch,
    Trick,      // the launch with Shift: stops the ball's sideways motion, for a price
    EndTyping,  // the keys go back to the game
};

KeyCommand commandOf(const shell::KeyArgs& k);

// The steering keys and the direction each gives while held, -1 left or 1 right.
struct SteeringKey {
    int keyCode;
    int direction;
};
inline constexpr SteeringKey kSteeringKeys[] = {
    {shell::kKeyLeft, -1}, {'A', -1}, {shell::kKeyRight, 1}, {'D', 1}};

// The steering direction a key gives while held, whatever has the focus (its release ends the
// hold wherever it goes); 0 for every other key.
int steeringOf(int keyCode);

} // namespace input

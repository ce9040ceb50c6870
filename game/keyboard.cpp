// The main window's keys: the game's commands go to the keys and gamepads' controls, typing to
// the text box with the focus, and the player hands the keys back to the game by Enter or Esc in a
// text box, Tab, or a click on the playfield.
#include "game/form1.h"

bool Form1::Form_KeyDown(const shell::KeyArgs& k)
{
    const input::KeyCommand command = controls.keyDown(k);
    if (command == input::KeyCommand::EndTyping)
        polos.setFocus();
    return command != input::KeyCommand::None;
}

// A click on the playfield gives the keys back to the game without launching, as a click on the
// wall would with a launch.
void Form1::Form_MouseDown(const shell::MouseArgs&)
{
    polos.setFocus();
}

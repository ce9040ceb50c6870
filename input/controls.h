#pragma once
// The player's keys and gamepads, turned into the game's actions: steer the paddle by so many
// millimetres, launch, pause. They push, and ask the game nothing but the ball's speed.
//
// Keys of the main window, as input/key_commands.h reads them: the steering keys move the paddle
// while they are held, tracked by press and release so that the system's key repeat plays no part;
// Space and Enter launch. In a text box every key types or edits.
//
// Gamepads act only while the main window is on screen, a window of the game has the focus and no
// message box waits: a gamepad in the hands of a player who turned to another program does nothing,
// nor does one pressed while "БАБАХ !!!" waits for its OK.
//
// The steering timer ticks every 16 ms only while something moves the paddle or a gamepad is
// connected; with the gamepads started and none connected it looks for one once a second, and
// before that nothing wakes the program.
#include "actions/game_actions.h"
#include "input/key_commands.h"
#include "input/steering.h"
#include "shell/controls.h"
#include "shell/timer.h"

#include <memory>

namespace shell {
class Window;
}

namespace input {

class Gamepads;
struct PadState;

class Controls {
public:
    // `window` is the one whose keys these are.
    Controls(actions::GameActions& game, const shell::Window& window);
    ~Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // A key going down in the window: what it is to the game, carried out but for EndTyping,
    // which is the window's. A key that is no command (None) is the focused control's.
    KeyCommand keyDown(const shell::KeyArgs& k);
    void keyUp(const shell::KeyArgs& k);
    // The window lost the keyboard focus: its releases go elsewhere, so no key counts as held.
    void releaseKeys();

    // Loads SDL's game controller support and watches for gamepads from now on; false, and the game
    // plays on without, when SDL or its joystick support is missing.
    bool startGamepads();

    // The steering timer; it also polls the gamepads while one is connected.
    shell::Timer timer{16};

private:
    bool padsMayAct() const;
    void takePads(const PadState& pads);
    bool takeHeld();
    void steerNow();
    void retime(bool restart);
    void tick();
    void move();

    actions::GameActions& m_game;
    const shell::Window& m_window;
    int m_keys = 0; // bit set of the steering keys held
    int m_padHeld = 0;
    Steering m_steering;
    std::unique_ptr<Gamepads> m_pads;
};

} // namespace input

#pragma once
// The player's keys and gamepads, turned into commands to the game: steer the paddle by so many
// millimetres, launch (as a click on the strip, with its shift state), pause (as the pause button).
//
// Keys of the main window, whichever control has the focus: ← → and the keys in A's and D's
// places (so the Russian layout steers alike) move the paddle while they are held, tracked by press
// and release so that the system's key repeat plays no part; Space and Enter launch, with Shift the
// trick. In a text box the letters type as ever; the arrows, Space and Enter still steer and launch.
//
// The steering timer ticks every 16 ms only while something moves the paddle or a gamepad is
// connected; with the gamepads started and none connected it looks for one once a second, and
// before that nothing wakes the program.
#include "input/steering.h"
#include "shell/controls.h"
#include "shell/timer.h"

#include <functional>
#include <memory>

namespace input {

class Gamepads;

class Controls {
public:
    Controls();
    ~Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // The commands.
    std::function<void(float mm)> onSteer;
    std::function<void(int shift)> onLaunch;
    std::function<void()> onPause;
    // The ball's speed, millimetres per tick, which sets the paddle's (see steering.h).
    std::function<float()> ballSpeed;
    // Whether the gamepads may act now (the main window is on screen).
    std::function<bool()> padsListen;

    // A key going down in the main window; true when it is one of the game's and is taken.
    bool keyDown(const shell::KeyArgs& k);
    void keyUp(const shell::KeyArgs& k);
    // The window lost the keyboard focus: its releases go elsewhere, so no key counts as held.
    void releaseKeys();

    // Loads SDL's game controller support and watches for gamepads from now on; false, and the game
    // plays on without, when SDL or its joystick support is missing.
    bool startGamepads();

    // From the gamepads: the D-pad's direction, the stick's deflection, the buttons.
    void setPadHeld(int direction);
    void setStick(float deflection);
    void padLaunch();
    void padPause();

    // The steering timer; it also polls the gamepads while one is connected.
    shell::Timer timer{16};

private:
    void update();
    void tick();
    void move();

    int m_keys = 0; // bit set of the steering keys held
    int m_padHeld = 0;
    bool m_polling = false;
    Steering m_steering;
    std::unique_ptr<Gamepads> m_pads;
};

} // namespace input

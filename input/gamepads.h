#pragma once
// Gamepads through SDL2's game controller API, for any controller SDL knows: plugged in before the
// game or while it runs, unplugged at any time. SDL's room loads SDL when the gamepads are started
// (see sdl/room.h), so it costs the start-up nothing; without SDL, or without joystick support on
// the machine, there are no gamepads and the game plays on as ever.
//
// The left stick steers (see steering.h), the D-pad steers as the arrow keys do, the south button
// (A, ✕) launches and Start is the pause button. Several gamepads act together.
#include "sdl/room.h"

#include <vector>

namespace input {

// What the gamepads say at one poll: the direction held on the D-pads (-1 left, 0 none, 1 right),
// the stick's deflection furthest from the middle (-1 .. 1), and the buttons pressed since the last.
struct PadState {
    int held = 0;
    float stick = 0;
    bool launch = false;
    bool pause = false;
};

class Gamepads {
public:
    // How often SDL is asked whether a gamepad was plugged in while none is connected.
    static constexpr int kSearchMs = 1000;

    Gamepads() = default;
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Loads SDL and starts its game controller support; false when either is missing.
    bool start();
    bool connected() const { return !m_pads.empty(); }
    // Takes SDL's news, gamepads coming and going, and tells what the connected ones say now.
    PadState poll();

private:
    void open(int deviceIndex);
    void close(int instanceId);

    sdl::Subsystem m_sdl{SDL_INIT_GAMECONTROLLER};
    bool m_started = false;
    std::vector<void*> m_pads; // SDL_GameController*
};

} // namespace input

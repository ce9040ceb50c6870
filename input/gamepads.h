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

class Controls;

class Gamepads {
public:
    // How often SDL is asked whether a gamepad was plugged in while none is connected.
    static constexpr int kSearchMs = 1000;

    explicit Gamepads(Controls& controls);
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Loads SDL and starts its game controller support; false when either is missing.
    bool start();
    bool connected() const { return !m_pads.empty(); }
    // Takes SDL's news: gamepads come and go, buttons pressed, the sticks and D-pads as they are.
    void poll();

private:
    void open(int deviceIndex);
    void close(int instanceId);

    Controls& m_controls;
    sdl::Subsystem m_sdl{SDL_INIT_GAMECONTROLLER};
    bool m_started = false;
    std::vector<void*> m_pads; // SDL_GameController*
};

} // namespace input

#include "input/gamepads.h"

#include "sdl/room.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace input {

namespace {

using Library = sdl::Library;

// SDL as SDL's room loads it (sdl/room.h).
const Library* library()
{
    return sdl::library();
}

SDL_GameController* pad(void* p)
{
    return static_cast<SDL_GameController*>(p);
}

} // namespace

Gamepads::~Gamepads()
{
    if (!m_started)
        return;
    const Library* sdl = library();
    for (void* p : m_pads)
        sdl->SDL_GameControllerClose(pad(p));
    // m_sdl lets the game controller subsystem go.
}

bool Gamepads::start()
{
    if (!m_sdl.start()) {
        if (const Library* sdl = library())
            qWarning("input: no joystick support (%s); no gamepads", sdl->SDL_GetError());
        return false;
    }
    m_started = true;
    return true;
}

void Gamepads::open(int deviceIndex)
{
    if (SDL_GameController* p = library()->SDL_GameControllerOpen(deviceIndex))
        m_pads.push_back(p);
}

void Gamepads::close(int instanceId)
{
    const Library* sdl = library();
    const auto it = std::find_if(m_pads.begin(), m_pads.end(), [&](void* p) {
        return sdl->SDL_JoystickInstanceID(sdl->SDL_GameControllerGetJoystick(pad(p))) == instanceId;
    });
    if (it == m_pads.end())
        return;
    sdl->SDL_GameControllerClose(pad(*it));
    m_pads.erase(it);
}

PadState Gamepads::poll()
{
    PadState state;
    if (!m_started)
        return state;
    const Library* sdl = library();
    SDL_Event e;
    while (sdl->SDL_PollEvent(&e)) {
        if (e.type == SDL_CONTROLLERDEVICEADDED)
            open(e.cdevice.which);
        else if (e.type == SDL_CONTROLLERDEVICEREMOVED)
            close(e.cdevice.which);
        else if (e.type == SDL_CONTROLLERBUTTONDOWN && e.cbutton.button == SDL_CONTROLLER_BUTTON_A)
            state.launch = true;
        else if (e.type == SDL_CONTROLLERBUTTONDOWN && e.cbutton.button == SDL_CONTROLLER_BUTTON_START)
            state.pause = true;
    }
    int left = 0, right = 0;
    for (void* p : m_pads) {
        left |= sdl->SDL_GameControllerGetButton(pad(p), SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        right |= sdl->SDL_GameControllerGetButton(pad(p), SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        const float x = std::clamp(sdl->SDL_GameControllerGetAxis(pad(p), SDL_CONTROLLER_AXIS_LEFTX) / 32767.0f, -1.0f, 1.0f);
        if (std::fabs(x) > std::fabs(state.stick))
            state.stick = x;
    }
    state.held = right - left;
    return state;
}

} // namespace input

#include "input/gamepads.h"

#include "input/controls.h"
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

Gamepads::Gamepads(Controls& controls) : m_controls(controls) {}

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
    poll(); // the gamepads plugged in already
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

void Gamepads::poll()
{
    if (!m_started)
        return;
    const Library* sdl = library();
    const bool listen = !m_controls.padsListen || m_controls.padsListen();
    SDL_Event e;
    while (sdl->SDL_PollEvent(&e)) {
        if (e.type == SDL_CONTROLLERDEVICEADDED)
            open(e.cdevice.which);
        else if (e.type == SDL_CONTROLLERDEVICEREMOVED)
            close(e.cdevice.which);
        else if (e.type == SDL_CONTROLLERBUTTONDOWN && listen && e.cbutton.button == SDL_CONTROLLER_BUTTON_A)
            m_controls.padLaunch();
        else if (e.type == SDL_CONTROLLERBUTTONDOWN && listen && e.cbutton.button == SDL_CONTROLLER_BUTTON_START)
            m_controls.padPause();
    }
    int left = 0, right = 0;
    float stick = 0;
    if (listen) {
        for (void* p : m_pads) {
            left |= sdl->SDL_GameControllerGetButton(pad(p), SDL_CONTROLLER_BUTTON_DPAD_LEFT);
            right |= sdl->SDL_GameControllerGetButton(pad(p), SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
            const float x = std::clamp(sdl->SDL_GameControllerGetAxis(pad(p), SDL_CONTROLLER_AXIS_LEFTX) / 32767.0f, -1.0f, 1.0f);
            if (std::fabs(x) > std::fabs(stick))
                stick = x;
        }
    }
    m_controls.setPadHeld(right - left);
    m_controls.setStick(stick);
}

} // namespace input

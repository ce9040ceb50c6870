#include "input/gamepads.h"

#include <QtGlobal>

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <dlfcn.h>

namespace input {

namespace {

#define PLINKAT_PAD_FUNCTIONS(X)                                                                   \
    X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_GetError) X(SDL_PollEvent)      \
    X(SDL_GameControllerOpen) X(SDL_GameControllerClose) X(SDL_GameControllerGetAxis)              \
    X(SDL_GameControllerGetButton) X(SDL_GameControllerGetJoystick) X(SDL_JoystickInstanceID)

struct Library {
#define PLINKAT_PAD_POINTER(name) decltype(&::name) name = nullptr;
    PLINKAT_PAD_FUNCTIONS(PLINKAT_PAD_POINTER)
#undef PLINKAT_PAD_POINTER
};

// SDL2's runtime name: the same library the sound's mixer brings, so both share one SDL.
const char* const kSdl = "libSDL2-2.0.so.0";

const Library* load()
{
    void* handle = dlopen(kSdl, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        qWarning("input: cannot load %s (%s); no gamepads", kSdl, dlerror());
        return nullptr;
    }
    static Library lib;
    bool complete = true;
#define PLINKAT_PAD_RESOLVE(name)                                                      \
    lib.name = reinterpret_cast<decltype(lib.name)>(dlsym(handle, #name));            \
    if (!lib.name) {                                                                   \
        qWarning("input: %s has no %s; no gamepads", kSdl, #name);                    \
        complete = false;                                                              \
    }
    PLINKAT_PAD_FUNCTIONS(PLINKAT_PAD_RESOLVE)
#undef PLINKAT_PAD_RESOLVE
    return complete ? &lib : nullptr;
}

// Loaded on the first call, never unloaded.
const Library* library()
{
    static const Library* const loaded = load();
    return loaded;
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
    sdl->SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool Gamepads::start()
{
    const Library* sdl = library();
    if (!sdl)
        return false;
    // The program handles its own signals; and it reads the gamepads whichever window is in front.
    sdl->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    sdl->SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (sdl->SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
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

#pragma once
// SDL's one room: the only place that loads SDL2, sets its hints and starts and stops its
// subsystems. The sound and the gamepads ask it for what they need.
//
// SDL2 is loaded with dlopen, not linked: the gamepads load libSDL2 alone when they start, and the
// sound adds libSDL2_mixer (see sdl/mixer.h) only when it first opens the output. Linked, the
// mixer's forty libraries (decoders, FluidSynth, sound servers) would all be loaded and relocated
// before main() runs and the first window would wait for them. The headers give the functions'
// types; nothing is linked.
//
// The hints are set once, as SDL2 is loaded, before any subsystem starts. Each subsystem is
// started when its first user asks for it and stopped when its last user lets it go, so the sound
// and the gamepads start and stop in any order. SDL_Quit is never called: the mixer's audio thread
// may run until the process ends, and SDL_Quit would also clear the hints.
#include <SDL.h>

namespace sdl {

// The functions of libSDL2 this program calls, under their own names.
#define PLINKAT_SDL_FUNCTIONS(X)                                                                   \
    X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_GetError) X(SDL_RWFromConstMem) \
    X(SDL_PollEvent) X(SDL_GameControllerOpen) X(SDL_GameControllerClose)                          \
    X(SDL_GameControllerGetAxis) X(SDL_GameControllerGetButton) X(SDL_GameControllerGetJoystick)   \
    X(SDL_JoystickInstanceID)

struct Library {
#define PLINKAT_SDL_POINTER(name) decltype(&::name) name = nullptr;
    PLINKAT_SDL_FUNCTIONS(PLINKAT_SDL_POINTER)
#undef PLINKAT_SDL_POINTER
};

// Loads libSDL2 and sets the hints on the first call; nullptr, now and on every later call, when
// the library or one of its functions is missing. Never unloaded.
const Library* library();

// One user's hold on one of SDL's subsystems (SDL_INIT_AUDIO, SDL_INIT_GAMECONTROLLER, …).
class Subsystem {
public:
    explicit Subsystem(Uint32 flag) : m_flag(flag) {}
    ~Subsystem() { stop(); }
    Subsystem(const Subsystem&) = delete;
    Subsystem& operator=(const Subsystem&) = delete;

    // Loads SDL2 and starts the subsystem unless another user has; false, with the reason in
    // SDL_GetError (or no library), when it cannot start. Starting a started hold does nothing.
    bool start();
    // Lets the subsystem go; it stops when no other user holds it.
    void stop();
    bool started() const { return m_started; }

private:
    Uint32 m_flag;
    bool m_started = false;
};

} // namespace sdl

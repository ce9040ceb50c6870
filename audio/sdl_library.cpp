#include "audio/sdl_library.h"

#include <QtGlobal>

#include <dlfcn.h>

namespace audio::sdl {

namespace {

// SDL2_mixer's runtime name; it brings SDL2 itself along, where the SDL_ functions are found.
const char* const kMixer = "libSDL2_mixer-2.0.so.0";

const Library* load()
{
    void* handle = dlopen(kMixer, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        qWarning("audio: cannot load %s (%s); sound is off", kMixer, dlerror());
        return nullptr;
    }
    static Library lib;
    bool complete = true;
#define PLINKAT_SDL_RESOLVE(name)                                                      \
    lib.name = reinterpret_cast<decltype(lib.name)>(dlsym(handle, #name));            \
    if (!lib.name) {                                                                   \
        qWarning("audio: %s has no %s; sound is off", kMixer, #name);                 \
        complete = false;                                                              \
    }
    PLINKAT_SDL_FUNCTIONS(PLINKAT_SDL_RESOLVE)
#undef PLINKAT_SDL_RESOLVE
    return complete ? &lib : nullptr;
}

} // namespace

const Library* library()
{
    static const Library* const loaded = load();
    return loaded;
}

} // namespace audio::sdl

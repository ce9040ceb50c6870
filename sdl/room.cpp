// The one file of the program that loads libraries at run time.
#include "sdl/mixer.h"
#include "sdl/room.h"

#include <QByteArray>
#include <QtGlobal>

#include <bit>
#include <dlfcn.h>
#include <utility>

namespace sdl {

namespace {

// The runtime names; the mixer is built against the same libSDL2, so both share one SDL.
const char* const kSdl = "libSDL2-2.0.so.0";
const char* const kMixer = "libSDL2_mixer-2.0.so.0";
// The sound server's client properties, as libpulse reads them from the environment.
const std::pair<const char*, const char*> kClientProperties[] = {
    {"PULSE_PROP_application.icon_name", "plinkat"},
    {"PULSE_PROP_media.role", "game"},
};

// Resolves every function of `table` in `handle`; false, with a warning for each, if one is missing.
#define PLINKAT_RESOLVE(name)                                                              \
    table.name = reinterpret_cast<decltype(table.name)>(dlsym(handle, #name));            \
    if (!table.name) {                                                                     \
        qWarning("sdl: %s has no %s", soname, #name);                                      \
        complete = false;                                                                  \
    }

// Every hint of the program, set once before any subsystem starts.
void setHints(const Library& sdl)
{
    // The program handles its own signals. Whether a gamepad may act is the game's choice (the
    // main window on screen), so SDL's rule for programs in the background keeps its default.
    sdl.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // How the desktop's mixer shows the game's sound: its name, what plays, and a game's role for
    // the sound server's policies. The stream is opened once and carries the melodies (and the hit
    // effect with them), so it is named after the music.
    sdl.SDL_SetHint(SDL_HINT_APP_NAME, "Plinkat");
    sdl.SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Plinkat");
    sdl.SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "музыка");
    sdl.SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "game");
    // SDL 2.26's PulseAudio driver passes on neither an icon nor the role hint; libpulse adds
    // client properties from the environment when SDL connects, and the server hands them on to
    // the stream. A player's own setting stays.
    for (const auto& [name, value] : kClientProperties)
        if (qEnvironmentVariableIsEmpty(name))
            qputenv(name, QByteArray(value));
}

const Library* loadSdl()
{
    const char* const soname = kSdl;
    void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        qWarning("sdl: cannot load %s (%s); no sound and no gamepads", soname, dlerror());
        return nullptr;
    }
    static Library table;
    bool complete = true;
    PLINKAT_SDL_FUNCTIONS(PLINKAT_RESOLVE)
    if (!complete)
        return nullptr;
    setHints(table);
    return &table;
}

const Mixer* loadMixer()
{
    if (!library())
        return nullptr;
    const char* const soname = kMixer;
    void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        qWarning("sdl: cannot load %s (%s); sound is off", soname, dlerror());
        return nullptr;
    }
    static Mixer table;
    bool complete = true;
    PLINKAT_MIXER_FUNCTIONS(PLINKAT_RESOLVE)
    return complete ? &table : nullptr;
}

#undef PLINKAT_RESOLVE

// How many holds each subsystem has, by the bit of its flag; GUI thread only. A plain array, so a
// hold let go while the process exits still finds it.
int g_users[32] = {};

int& users(Uint32 flag)
{
    Q_ASSERT(std::has_single_bit(flag));
    return g_users[std::countr_zero(flag)];
}

} // namespace

const Library* library()
{
    static const Library* const loaded = loadSdl();
    return loaded;
}

const Mixer* mixer()
{
    static const Mixer* const loaded = loadMixer();
    return loaded;
}

bool Subsystem::start()
{
    if (m_started)
        return true;
    const Library* sdl = library();
    if (!sdl)
        return false;
    int& count = users(m_flag);
    if (count == 0 && sdl->SDL_InitSubSystem(m_flag) != 0)
        return false;
    ++count;
    m_started = true;
    return true;
}

void Subsystem::stop()
{
    if (!m_started)
        return;
    m_started = false;
    int& count = users(m_flag);
    if (--count == 0)
        library()->SDL_QuitSubSystem(m_flag);
}

} // namespace sdl

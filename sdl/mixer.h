#pragma once
// SDL2_mixer, loaded by SDL's room (sdl/room.h) when the sound first opens its output, never for
// the gamepads alone.
#include <SDL_mixer.h>

namespace sdl {

// The functions of libSDL2_mixer this program calls, under their own names.
#define PLINKAT_MIXER_FUNCTIONS(X)                                                                  \
    X(Mix_OpenAudio) X(Mix_CloseAudio) X(Mix_SetSoundFonts) X(Mix_HookMusicFinished)                 \
    X(Mix_ChannelFinished) X(Mix_AllocateChannels) X(Mix_LoadMUSType_RW) X(Mix_LoadWAV_RW)           \
    X(Mix_FreeMusic) X(Mix_FreeChunk) X(Mix_PlayMusic) X(Mix_PlayChannel) X(Mix_HaltMusic)          \
    X(Mix_HaltChannel) X(Mix_VolumeMusic) X(Mix_Volume) X(Mix_FadeOutMusic) X(Mix_FadeOutChannel)

struct Mixer {
#define PLINKAT_MIXER_POINTER(name) decltype(&::name) name = nullptr;
    PLINKAT_MIXER_FUNCTIONS(PLINKAT_MIXER_POINTER)
#undef PLINKAT_MIXER_POINTER
};

// Loads libSDL2_mixer (and libSDL2 first, through library()) on the first call; nullptr, now and
// on every later call, when either or one of the functions is missing. Never unloaded: the mixer's
// thread may run until the process ends.
const Mixer* mixer();

} // namespace sdl

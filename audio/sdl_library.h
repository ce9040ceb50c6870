#pragma once
// SDL2 and SDL2_mixer, loaded with dlopen when the audio output is first opened instead of being
// linked into the program. The mixer brings some forty libraries with it (decoders, FluidSynth,
// sound servers); linked, every one of them is loaded and relocated before main() runs and the
// first window waits for it. The headers give the functions' types; nothing is linked.
#include <SDL.h>
#include <SDL_mixer.h>

namespace audio::sdl {

// The functions this program calls, under their own names.
#define PLINKAT_SDL_FUNCTIONS(X)                                                                    \
    X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_GetError) X(SDL_RWFromConstMem)   \
    X(Mix_OpenAudio) X(Mix_CloseAudio) X(Mix_SetSoundFonts) X(Mix_HookMusicFinished)                 \
    X(Mix_ChannelFinished) X(Mix_AllocateChannels) X(Mix_LoadMUSType_RW) X(Mix_LoadWAV_RW)           \
    X(Mix_FreeMusic) X(Mix_FreeChunk) X(Mix_PlayMusic) X(Mix_PlayChannel) X(Mix_HaltMusic)          \
    X(Mix_HaltChannel)

struct Library {
#define PLINKAT_SDL_POINTER(name) decltype(&::name) name = nullptr;
    PLINKAT_SDL_FUNCTIONS(PLINKAT_SDL_POINTER)
#undef PLINKAT_SDL_POINTER
};

// Loads the libraries on the first call; nullptr, now and on every later call, when they or one
// of the functions are missing. Never unloaded: the mixer's thread may run until the process ends.
const Library* library();

} // namespace audio::sdl

#pragma once
// The mixer's scale the player's volumes (files/sound_cfg.h) are played at, and the music's fade.
namespace audio {

// How long turning the music off takes to bring the melody down to silence: long enough to
// leave no click at the cut, short enough to be heard as at once.
inline constexpr int kMusicFadeMs = 300;

// The mixer's volume (0 .. 128) for a percentage: in proportion to the amplitude, so 50 % plays
// at half the level (-6 dB).
constexpr int mixerVolume(int percent)
{
    const int p = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    return (p * 128 + 50) / 100;
}

} // namespace audio

#pragma once
// The player's volumes: percentages in audible steps, and the mixer's scale they are played at.
#include <array>

namespace audio {

// Steps of 10 %: the smallest change a player hears at once in a melody (under 1 dB at the top
// of the range, 6 dB and more below 50 %), and few enough choices to read at a glance.
inline constexpr int kVolumeStep = 10;
inline constexpr std::array<int, 11> kVolumeChoices = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};

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

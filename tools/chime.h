#pragma once
// The hit sound: a short bell-like chime synthesized from a few inharmonic partials,
// and a writer of 16-bit PCM RIFF WAVE files.
#include <cstdint>
#include <vector>

namespace tools {

struct Partial {
    double ratio;     // frequency relative to the fundamental
    double amplitude; // relative level at the strike
    double decay;     // time constant of the exponential decay, seconds
};

struct ChimeSettings {
    int sampleRate = 44100;
    double seconds = 0.22;
    double fundamental = 1318.5; // E6
    double attack = 0.0015;      // raised-cosine rise, long enough not to click
    double release = 0.05;       // raised-cosine fade to exact silence at the end
    double peak = 0.71;          // about -3 dBFS
    std::vector<Partial> partials{
        {1.0, 1.0, 0.085},
        {2.756, 0.55, 0.045},
        {5.404, 0.28, 0.022},
        {8.933, 0.12, 0.012},
    };
};

std::vector<std::int16_t> synthesizeChime(const ChimeSettings& settings = {});

// A canonical 44-byte-header PCM WAVE; samples interleaved when channels > 1.
std::vector<std::uint8_t> encodeWave(const std::vector<std::int16_t>& samples, int sampleRate, int channels);

} // namespace tools

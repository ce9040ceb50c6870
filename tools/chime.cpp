#include "chime.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace tools {

std::vector<std::int16_t> synthesizeChime(const ChimeSettings& settings)
{
    const int count = static_cast<int>(std::lround(settings.seconds * settings.sampleRate));
    if (count <= 0 || settings.partials.empty())
        throw std::invalid_argument("chime needs a length and at least one partial");

    const double pi = std::numbers::pi;
    std::vector<double> wave(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / settings.sampleRate;
        double value = 0.0;
        for (const Partial& partial : settings.partials)
            value += partial.amplitude * std::exp(-t / partial.decay) *
                     std::sin(2.0 * pi * settings.fundamental * partial.ratio * t);
        double envelope = 1.0;
        if (t < settings.attack)
            envelope *= 0.5 - 0.5 * std::cos(pi * t / settings.attack);
        const double left = static_cast<double>(count - 1 - i) / settings.sampleRate;
        if (left < settings.release)
            envelope *= 0.5 - 0.5 * std::cos(pi * left / settings.release);
        wave[static_cast<std::size_t>(i)] = value * envelope;
    }

    double loudest = 0.0;
    for (double value : wave)
        loudest = std::max(loudest, std::abs(value));
    const double gain = loudest > 0.0 ? settings.peak * 32767.0 / loudest : 0.0;

    std::vector<std::int16_t> samples;
    samples.reserve(wave.size());
    for (double value : wave)
        samples.push_back(static_cast<std::int16_t>(std::clamp(std::lround(value * gain), -32767L, 32767L)));
    return samples;
}

namespace {

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

void putTag(std::vector<std::uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

} // namespace

std::vector<std::uint8_t> encodeWave(const std::vector<std::int16_t>& samples, int sampleRate, int channels)
{
    if (channels < 1 || sampleRate < 1 || samples.size() % static_cast<std::size_t>(channels) != 0)
        throw std::invalid_argument("wave samples do not fit the channel count");
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto blockAlign = static_cast<std::uint32_t>(channels * 2);

    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    putLittleEndian(out, 36 + dataBytes, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2); // PCM
    putLittleEndian(out, static_cast<std::uint32_t>(channels), 2);
    putLittleEndian(out, static_cast<std::uint32_t>(sampleRate), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(sampleRate) * blockAlign, 4);
    putLittleEndian(out, blockAlign, 2);
    putLittleEndian(out, 16, 2);
    putTag(out, "data");
    putLittleEndian(out, dataBytes, 4);
    for (std::int16_t sample : samples)
        putLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

} // namespace tools

// The synthesized hit sound, ring.Wav, and the wave writer.
#include "chime.h"
#include "data_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

struct Wave {
    bool valid = false;
    std::string error;
    int format = 0, channels = 0, sampleRate = 0, bits = 0, blockAlign = 0;
    std::vector<double> mono; // first channel, scaled to -1..1
};

std::uint32_t le(const std::string& b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
    return value;
}

// Walks the RIFF chunks rather than assuming a fixed 44-byte header.
Wave readWave(const std::string& b)
{
    Wave wave;
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) {
        wave.error = "not RIFF WAVE";
        return wave;
    }
    if (le(b, 4, 4) != b.size() - 8) {
        wave.error = "RIFF size disagrees with the file size";
        return wave;
    }
    bool haveFormat = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const std::uint32_t size = le(b, at + 4, 4);
        const std::size_t body = at + 8;
        if (body + size > b.size()) {
            wave.error = "chunk " + id + " runs past the file";
            return wave;
        }
        if (id == "fmt " && size >= 16) {
            wave.format = static_cast<int>(le(b, body, 2));
            wave.channels = static_cast<int>(le(b, body + 2, 2));
            wave.sampleRate = static_cast<int>(le(b, body + 4, 4));
            wave.blockAlign = static_cast<int>(le(b, body + 12, 2));
            wave.bits = static_cast<int>(le(b, body + 14, 2));
            haveFormat = true;
        } else if (id == "data" && haveFormat && wave.bits == 16 && wave.channels > 0) {
            for (std::size_t s = body; s + 2 <= body + size; s += static_cast<std::size_t>(wave.blockAlign)) {
                const auto raw = static_cast<std::int16_t>(le(b, s, 2));
                wave.mono.push_back(raw / 32768.0);
            }
            wave.valid = true;
        }
        at = body + size + (size & 1);
    }
    if (!wave.valid && wave.error.empty())
        wave.error = "no fmt and data chunks";
    return wave;
}

Wave shippedRing() { return readWave(datatest::readBytes(datatest::playDir() / "ring.Wav")); }

double peak(const std::vector<double>& samples, std::size_t from, std::size_t to)
{
    double loudest = 0.0;
    for (std::size_t i = from; i < to && i < samples.size(); ++i)
        loudest = std::max(loudest, std::abs(samples[i]));
    return loudest;
}

double rms(const std::vector<double>& samples, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += samples[i] * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

} // namespace

TEST(RingWave, IsSixteenBitPcmAt44100)
{
    const Wave wave = shippedRing();
    ASSERT_TRUE(wave.valid) << wave.error;
    EXPECT_EQ(wave.format, 1);
    EXPECT_EQ(wave.bits, 16);
    EXPECT_EQ(wave.sampleRate, 44100);
    EXPECT_TRUE(wave.channels == 1 || wave.channels == 2);
    EXPECT_EQ(wave.blockAlign, 2 * wave.channels);
}

TEST(RingWave, IsAShortChime)
{
    const Wave wave = shippedRing();
    ASSERT_TRUE(wave.valid) << wave.error;
    const double seconds = static_cast<double>(wave.mono.size()) / wave.sampleRate;
    EXPECT_GE(seconds, 0.1);
    EXPECT_LE(seconds, 0.3);
}

TEST(RingWave, IsLoudButNotClipped)
{
    const Wave wave = shippedRing();
    ASSERT_TRUE(wave.valid) << wave.error;
    const double loudest = peak(wave.mono, 0, wave.mono.size());
    EXPECT_GT(loudest, 0.3);
    EXPECT_LT(loudest, 0.98);
}

TEST(RingWave, RisesQuicklyAndFadesOutWithoutAClick)
{
    const Wave wave = shippedRing();
    ASSERT_TRUE(wave.valid) << wave.error;
    const auto& s = wave.mono;
    const auto ms = [&](double millis) { return static_cast<std::size_t>(millis * wave.sampleRate / 1000.0); };
    EXPECT_LT(std::abs(s.front()), 0.01) << "starts with a jump";
    EXPECT_GT(peak(s, 0, ms(10)), 0.5 * peak(s, 0, s.size())) << "strikes too slowly";
    EXPECT_LT(peak(s, s.size() - ms(5), s.size()), 0.01) << "the last 5 ms are not near silence";
    EXPECT_LT(std::abs(s.back()), 0.001);
    // The level falls steadily: each quarter of the sound is quieter than the one before.
    const std::size_t quarter = s.size() / 4;
    for (std::size_t q = 1; q < 4; ++q)
        EXPECT_LT(rms(s, q * quarter, (q + 1) * quarter), rms(s, (q - 1) * quarter, q * quarter)) << "quarter " << q;
}

TEST(RingWave, HasNoSuddenJumpsBetweenSamples)
{
    const Wave wave = shippedRing();
    ASSERT_TRUE(wave.valid) << wave.error;
    // The highest partial is under 12 kHz, so a sample-to-sample step can never exceed the swing of that partial.
    for (std::size_t i = 1; i < wave.mono.size(); ++i)
        ASSERT_LT(std::abs(wave.mono[i] - wave.mono[i - 1]), 0.5) << "sample " << i;
}

TEST(Chime, SettingsControlLengthAndPeak)
{
    tools::ChimeSettings settings;
    settings.seconds = 0.15;
    settings.peak = 0.5;
    const auto samples = tools::synthesizeChime(settings);
    EXPECT_EQ(samples.size(), static_cast<std::size_t>(0.15 * 44100 + 0.5));
    int loudest = 0;
    for (auto s : samples)
        loudest = std::max(loudest, std::abs(static_cast<int>(s)));
    EXPECT_NEAR(loudest, 0.5 * 32767, 2);
    settings.partials.clear();
    EXPECT_THROW(tools::synthesizeChime(settings), std::invalid_argument);
}

TEST(WaveWriter, StereoFramesAreInterleavedAndCounted)
{
    const std::vector<std::int16_t> samples{1000, -1000, 2000, -2000};
    const auto bytes = tools::encodeWave(samples, 22050, 2);
    const Wave wave = readWave(std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(wave.valid) << wave.error;
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.sampleRate, 22050);
    EXPECT_EQ(wave.blockAlign, 4);
    ASSERT_EQ(wave.mono.size(), 2u);
    EXPECT_NEAR(wave.mono[1], 2000 / 32768.0, 1e-9);
    EXPECT_EQ(le(std::string(bytes.begin(), bytes.end()), 28, 4), 22050u * 4); // bytes per second
    EXPECT_THROW(tools::encodeWave({1, 2, 3}, 44100, 2), std::invalid_argument);
}

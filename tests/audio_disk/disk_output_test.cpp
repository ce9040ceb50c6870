// What the SDL media device actually renders: SDL's disk driver writes the mixed output, in real
// time, to a raw file that the tests read back.
#include "../audio/media_files.h"
#include "audio/media_device.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr qint64 kBytesPerSecond = 44100 * 2 * 2;  // 44.1 kHz, stereo, 16-bit
// Output already mixed but not yet in the file when a command returns: the driver's stdio buffer
// plus a mixer buffer or two. Skipped when a region must start after a command took effect.
constexpr qint64 kInFlightBytes = 32768;

struct Levels {
    int peak = 0;
    double rms = 0;
};

class DiskOutput : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The output opens once per process, on the first "open": point it at our file first.
        s_dir = new QTemporaryDir;
        s_output = s_dir->filePath(QStringLiteral("mixed.raw"));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", s_output.toLocal8Bit());
    }
    static void TearDownTestSuite()
    {
        delete s_dir;  // the driver may keep writing into the unlinked file until exit
        s_dir = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    std::unique_ptr<audio::MediaDevice> device(const char* name, const QByteArray& bytes)
    {
        auto d = audio::makeSdlDevice();
        d->setFileName(testmedia::writeFile(m_dir.filePath(QString::fromLatin1(name)), bytes));
        d->setCommand(QStringLiteral("open"));
        return d;
    }

    static void expectDiskFormat()
    {
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1) << "the audio output is not open";
        ASSERT_EQ(frequency, 44100);
        ASSERT_EQ(format, AUDIO_S16LSB);
        ASSERT_EQ(channels, 2);
    }

    static qint64 outputSize() { return QFileInfo(s_output).size(); }

    // Waits until the driver has written `seconds` more of output, i.e. that much stream time passed.
    static bool letOutputRun(double seconds)
    {
        const qint64 target = outputSize() + static_cast<qint64>(seconds * kBytesPerSecond);
        return QTest::qWaitFor([target] { return outputSize() >= target; }, 10000);
    }

    static Levels levels(qint64 from, qint64 to)
    {
        QFile file(s_output);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(from & ~qint64(3)))
            return {};
        const QByteArray bytes = file.read(std::max<qint64>(0, to - from));
        const auto* samples = reinterpret_cast<const int16_t*>(bytes.constData());
        const qsizetype count = bytes.size() / 2;
        Levels result;
        double sum = 0;
        for (qsizetype i = 0; i < count; ++i) {
            result.peak = std::max(result.peak, std::abs(static_cast<int>(samples[i])));
            sum += static_cast<double>(samples[i]) * samples[i];
        }
        result.rms = count ? std::sqrt(sum / static_cast<double>(count)) : 0;
        // Kept in the test report, to see how far the thresholds are from what was measured.
        RecordProperty("peak", result.peak);
        RecordProperty("rms", static_cast<int>(result.rms));
        return result;
    }

    static QTemporaryDir* s_dir;
    static QString s_output;

private:
    QTemporaryDir m_dir;
};

QTemporaryDir* DiskOutput::s_dir = nullptr;
QString DiskOutput::s_output;

TEST_F(DiskOutput, MelodyIsRenderedAsSound)
{
    auto melody = device("1.mid", testmedia::midiNote(500));
    expectDiskFormat();
    const qint64 start = outputSize();
    melody->setCommand(QStringLiteral("play"));
    ASSERT_TRUE(letOutputRun(0.8));
    melody->setCommand(QStringLiteral("close"));

    const Levels heard = levels(start, outputSize());
    EXPECT_GT(heard.peak, 1000);
    EXPECT_GT(heard.rms, 100.0);
}

TEST_F(DiskOutput, WaveEffectIsRenderedAtItsOwnLevel)
{
    auto effect = device("ring.Wav", testmedia::fadingTone(300, 16000));
    expectDiskFormat();
    const qint64 start = outputSize();
    effect->setCommand(QStringLiteral("play"));
    effect->setCommand(QStringLiteral("prev"));
    ASSERT_TRUE(letOutputRun(0.5));

    const Levels heard = levels(start, outputSize());
    EXPECT_GT(heard.peak, 12000) << "the effect is played much quieter than it was recorded";
    EXPECT_LT(heard.peak, 20000);
    EXPECT_GT(heard.rms, 1000.0);
}

TEST_F(DiskOutput, EveryHitRestartsTheEffectFromItsLoudStart)
{
    // A one-second tone fading out: at 0.6 s it has fallen to 40% of its start.
    auto effect = device("ring.Wav", testmedia::fadingTone(1000, 16000));
    expectDiskFormat();
    effect->setCommand(QStringLiteral("play"));
    effect->setCommand(QStringLiteral("prev"));
    ASSERT_TRUE(letOutputRun(0.6));

    const qint64 secondHit = outputSize();
    effect->setCommand(QStringLiteral("play"));
    effect->setCommand(QStringLiteral("prev"));
    ASSERT_TRUE(letOutputRun(0.3));

    const Levels heard = levels(secondHit, outputSize());
    EXPECT_GT(heard.peak, 12000) << "the second hit did not start the effect over";
}

TEST_F(DiskOutput, CloseSilencesThePlayingMelody)
{
    auto melody = device("2.mid", testmedia::midiNote(30000));
    expectDiskFormat();
    const qint64 start = outputSize();
    melody->setCommand(QStringLiteral("play"));
    ASSERT_TRUE(letOutputRun(0.4));
    EXPECT_GT(levels(start, outputSize()).peak, 1000) << "the melody was not heard at all";

    melody->setCommand(QStringLiteral("close"));
    const qint64 closed = outputSize() + kInFlightBytes;
    ASSERT_TRUE(letOutputRun(0.4));
    EXPECT_EQ(levels(closed, outputSize()).peak, 0) << "the melody went on after close";
}

} // namespace

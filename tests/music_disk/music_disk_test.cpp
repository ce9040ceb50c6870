// The game's music and hit effect through the real SDL media devices, as heard: SDL's disk driver
// writes the mixed output to a raw file (S16 stereo, 44.1 kHz), which these tests read back.
//
// SDL_DISKAUDIODELAY sets how long the driver sleeps per buffer of 1024 frames (23 ms of sound).
// 1 ms renders music about 17 times faster than real time while keeping the stream position of
// each event steady; 0 renders about 100 times faster, but then the driver spins without pause and
// the stream position at which the game sees a Done depends on thread scheduling (seconds of
// stream for a few milliseconds of delay), and silence is written at some 50 MB a second.
// Every wait below is bounded by output written, with a wall-clock safety limit far beyond what
// the slowest machine needs. Where a melody starts and ends is counted in rendered frames on the
// audio thread, never taken from when the game's thread got to an event: on a busy machine the
// driver goes on writing while that thread waits for the processor.
#include "../data/smf_reader.h"
#include "dialogs/form5.h"
#include "game/form1.h"
#include "game/forms.h"
#include "shell/program.h"
#include "shell/timer.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr qint64 kBytesPerSecond = kRate * 2 * 2; // stereo, 16-bit
constexpr int kBlockFrames = kRate / 200;         // 5 ms blocks for the level envelope
constexpr int kAudible = 100;                     // a block peak below this is not heard
constexpr int kSafetyMs = 300000;                 // a hang guard, not a speed goal

// --- The game with real devices ---------------------------------------------------------------

class RealGame {
public:
    explicit RealGame(const QByteArray& config)
    {
        const QString play = QStringLiteral(PLINKAT_PLAY_DIR);
        QDirIterator it(play, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString src = it.next();
            const QString rel = QDir(play).relativeFilePath(src);
            if (rel == QLatin1String("plinkat"))
                continue;
            QDir().mkpath(QFileInfo(m_dir.filePath(rel)).path());
            QFile::copy(src, m_dir.filePath(rel));
        }
        const QString cfg = m_dir.filePath(QStringLiteral("config.cfg"));
        QFile::remove(cfg);
        QFile file(cfg);
        if (file.open(QIODevice::WriteOnly))
            file.write(config);

        shell::setClock(&m_clock);
        shell::setMessageBoxHandler([this](const QString& text) { messages << text; });
        shell::setEndProgramHandler([] {});
        Forms::Setup setup; // no device factory: the real SDL devices
        setup.startFolder = m_dir.path();
        setup.workFolder = m_dir.path();
        m_forms = std::make_unique<Forms>(setup);
    }
    ~RealGame()
    {
        m_forms.reset();
        QCoreApplication::processEvents();
        shell::setMessageBoxHandler({});
        shell::setEndProgramHandler({});
        shell::setClock(nullptr);
    }

    Form1& start() { return m_forms->form1(); }
    Form5& options() { return m_forms->form5(); }
    void tick(int n = 1) { m_clock.advance(16 * n); }
    QString pathOf(const QString& name) const { return m_dir.filePath(name); }

    QStringList messages;

private:
    QTemporaryDir m_dir;
    shell::ManualClock m_clock;
    std::unique_ptr<Forms> m_forms;
};

// --- The rendered output ----------------------------------------------------------------------

struct Levels {
    int peak = 0;
    double rms = 0;
    double audibleSeconds = 0; // from the first to the last audible 5 ms block
    qint64 clipped = 0;        // samples at full scale
    std::vector<int> envelope; // peak of each 5 ms block
};

class Output {
public:
    static void openHere(const QString& path)
    {
        s_path = path;
        // The output opens once per process, on the first "open": point it at the file first.
        qputenv("SDL_AUDIODRIVER", "disk");
        if (qEnvironmentVariableIsEmpty("SDL_DISKAUDIODELAY"))
            qputenv("SDL_DISKAUDIODELAY", "1");
        qputenv("SDL_DISKAUDIOFILE", path.toLocal8Bit());
    }

    static qint64 size() { return QFileInfo(s_path).size(); }

    // Pumps events until the condition holds; false after maxMs of wall-clock time.
    static bool pumpUntil(const std::function<bool()>& condition, int maxMs)
    {
        QElapsedTimer wall;
        wall.start();
        while (!condition()) {
            if (wall.elapsed() > maxMs)
                return false;
            QCoreApplication::processEvents();
        }
        return true;
    }

    // Lets `seconds` more of stream time pass, delivering events meanwhile.
    static bool run(double seconds)
    {
        const qint64 target = size() + static_cast<qint64>(seconds * kBytesPerSecond);
        return pumpUntil([target] { return size() >= target; }, kSafetyMs);
    }

    static Levels levels(qint64 from, qint64 to)
    {
        Levels result;
        from &= ~qint64(3);
        QFile file(s_path);
        if (to <= from || !file.open(QIODevice::ReadOnly) || !file.seek(from))
            return result;
        const QByteArray bytes = file.read(to - from);
        const auto* samples = reinterpret_cast<const int16_t*>(bytes.constData());
        const qsizetype count = bytes.size() / 2;
        double sum = 0;
        int blockPeak = 0;
        for (qsizetype i = 0; i < count; ++i) {
            const int v = std::abs(static_cast<int>(samples[i]));
            result.peak = std::max(result.peak, v);
            if (v >= 32767)
                ++result.clipped;
            blockPeak = std::max(blockPeak, v);
            sum += static_cast<double>(samples[i]) * samples[i];
            if ((i + 1) % (2 * kBlockFrames) == 0) {
                result.envelope.push_back(blockPeak);
                blockPeak = 0;
            }
        }
        result.rms = count ? std::sqrt(sum / static_cast<double>(count)) : 0;
        const auto audible = [](int p) { return p >= kAudible; };
        const auto first = std::find_if(result.envelope.begin(), result.envelope.end(), audible);
        const auto last = std::find_if(result.envelope.rbegin(), result.envelope.rend(), audible);
        if (first != result.envelope.end()) {
            const auto blocks = (result.envelope.rend() - last) - (first - result.envelope.begin());
            result.audibleSeconds = static_cast<double>(blocks) * kBlockFrames / kRate;
        }
        return result;
    }

private:
    static inline QString s_path;
};

// Attacks in the envelope: rises above 60 % of the loudest block, each re-armed once the level has
// fallen below 35 %. A restarted sound shows a new attack; one that is left ringing does not.
int countAttacks(const std::vector<int>& envelope)
{
    const int loudest = envelope.empty() ? 0 : *std::max_element(envelope.begin(), envelope.end());
    int attacks = 0;
    bool armed = true;
    for (const int p : envelope) {
        if (armed && p >= loudest * 6 / 10) {
            ++attacks;
            armed = false;
        } else if (p < loudest * 35 / 100) {
            armed = true;
        }
    }
    return attacks;
}

double scoreSeconds(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = f.readAll();
    return datatest::readSmf(std::string(bytes.constData(), static_cast<size_t>(bytes.size()))).seconds();
}

// The stretches of the output in which the music stream played, in frames rendered, as the mixer
// saw them on the audio thread after each buffer it mixed.
class MusicSpans {
public:
    MusicSpans() { Mix_SetPostMix(&MusicSpans::afterMix, this); }
    ~MusicSpans() { Mix_SetPostMix(nullptr, nullptr); }
    MusicSpans(const MusicSpans&) = delete;
    MusicSpans& operator=(const MusicSpans&) = delete;

    // Lengths in seconds of the stretches that have ended.
    std::vector<double> seconds()
    {
        std::lock_guard lock(m_mutex);
        std::vector<double> out;
        for (const auto& [from, to] : m_spans)
            out.push_back(static_cast<double>(to - from) / kRate);
        return out;
    }

private:
    static void SDLCALL afterMix(void* self, Uint8*, int bytes)
    {
        auto& s = *static_cast<MusicSpans*>(self);
        const qint64 before = s.m_frames;
        s.m_frames += bytes / 4;
        const bool playing = Mix_PlayingMusic() != 0;
        std::lock_guard lock(s.m_mutex);
        if (playing && !s.m_playing)
            s.m_start = before;
        if (!playing && s.m_playing)
            s.m_spans.emplace_back(s.m_start, s.m_frames);
        s.m_playing = playing;
    }

    std::mutex m_mutex;
    qint64 m_frames = 0;
    qint64 m_start = 0;
    bool m_playing = false;
    std::vector<std::pair<qint64, qint64>> m_spans;
};

// One melody as rendered, from its "play" to its Done.
struct Rendered {
    QString file;
    Levels levels;
    double renderedSeconds = 0; // output from the start of its playback to its end
    double scoreSeconds = 0;    // length of the file's score
    bool done = false;          // its Done reached the game
};

void print(const Rendered& m)
{
    std::printf("%s: score %.2f s, played %.2f s of output, audible %.2f s, peak %d, RMS %.0f, "
                "%lld samples at full scale\n",
                qPrintable(m.file), m.scoreSeconds, m.renderedSeconds, m.levels.audibleSeconds, m.levels.peak,
                m.levels.rms, static_cast<long long>(m.levels.clipped));
}

class MusicOnDisk : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        Output::openHere(s_dir->filePath(QStringLiteral("mixed.raw")));
    }
    static void TearDownTestSuite()
    {
        delete s_dir; // the driver may go on writing into the unlinked file until the process ends
        s_dir = nullptr;
    }

    static void expectDiskFormat()
    {
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1) << "the audio output is not open";
        ASSERT_EQ(frequency, kRate);
        ASSERT_EQ(format, AUDIO_S16LSB);
        ASSERT_EQ(channels, 2);
    }

    // Starts the rotation with the music timer's tick and collects `count` melodies. The sound of
    // each is the output from its "play" to its Done, read before the handler starts the next one;
    // its length is the stretch of output in which the mixer played it.
    static std::vector<Rendered> renderRotation(RealGame& game, int count)
    {
        Form1& f1 = game.start();
        MusicSpans spans;
        std::vector<Rendered> melodies;
        qint64 from = 0;
        auto begin = [&] {
            from = Output::size();
            melodies.push_back({f1.file, {}, 0, scoreSeconds(game.pathOf(QStringLiteral("music/") + f1.file)), false});
        };
        const std::function<void()> next = f1.MMControl2->onDone;
        f1.MMControl2->onDone = [&] {
            Rendered& m = melodies.back();
            m.levels = Output::levels(from, Output::size());
            m.done = true;
            next(); // the game's own handler starts the next melody
            if (static_cast<int>(melodies.size()) < count)
                begin();
        };

        game.tick();
        begin();
        const bool all = Output::pumpUntil(
            [&] { return static_cast<int>(melodies.size()) == count && melodies.back().done; }, kSafetyMs);
        f1.MMControl2->onDone = next;
        if (!all)
            melodies.pop_back(); // the one still playing
        const std::vector<double> played = spans.seconds();
        for (size_t i = 0; i < melodies.size() && i < played.size(); ++i)
            melodies[i].renderedSeconds = played[i];
        return melodies;
    }

    static inline QTemporaryDir* s_dir = nullptr;
};

// The output keeps a faint tail of the synthesizer's voices after the score ends; the Done comes
// when those have died away, 5 to 8 seconds later with the shipped melodies and sound font.
constexpr double kTailSeconds = 10.0;

// A loud chord may touch full scale for a sample or two, which nobody hears; more is distortion.
qint64 hardlyClipped(const Rendered& m)
{
    return static_cast<qint64>(m.renderedSeconds * kRate * 2 / 100000);
}

TEST_F(MusicOnDisk, MelodyOneIsHeardAndItsDoneStartsTheNext)
{
    RealGame game(" 5  1  4 \r\n");
    Form1& f1 = game.start();
    expectDiskFormat();
    ASSERT_TRUE(Output::run(0.2)); // whatever an earlier test left in flight is past

    const std::vector<Rendered> played = renderRotation(game, 1);
    ASSERT_EQ(played.size(), 1u) << "melody 1 gave no Done in time";
    const Rendered& m = played[0];
    print(m);
    EXPECT_EQ(m.file, QStringLiteral("1.mid"));
    EXPECT_GT(m.levels.peak, 3000) << "melody 1 should be clearly audible";
    EXPECT_GT(m.levels.rms, 300);
    EXPECT_LE(m.levels.clipped, hardlyClipped(m)) << "and not clipped";
    EXPECT_NEAR(m.levels.audibleSeconds, m.scoreSeconds, 1.5) << "the whole score is heard, and nothing after it";
    EXPECT_GE(m.renderedSeconds, m.scoreSeconds) << "Done came before the melody ended";
    EXPECT_LE(m.renderedSeconds, m.scoreSeconds + kTailSeconds) << "Done came long after the melody ended";

    // The game's handler took the Done: melody 2 is open and plays, the options box shows 3.
    ASSERT_TRUE(Output::pumpUntil([&] { return game.options().Text1.text() == QLatin1String("3"); }, kSafetyMs));
    EXPECT_EQ(f1.file, QStringLiteral("2.mid"));
    const qint64 from = Output::size();
    ASSERT_TRUE(Output::run(2.0));
    EXPECT_GT(Output::levels(from, Output::size()).peak, 1000) << "melody 2 is heard";
}

TEST_F(MusicOnDisk, EveryShippedMelodyIsHeardInTurn)
{
    RealGame game(" 6  1  4 \r\n"); // with a bound of 6 the rotation runs through all five
    game.start();
    expectDiskFormat();
    ASSERT_TRUE(Output::run(0.2));

    const std::vector<Rendered> played = renderRotation(game, 5);
    for (const Rendered& m : played)
        print(m);
    ASSERT_EQ(played.size(), 5u) << "not every melody gave its Done in time";
    for (int n = 1; n <= 5; ++n) {
        const Rendered& m = played[static_cast<size_t>(n - 1)];
        SCOPED_TRACE(qPrintable(m.file));
        EXPECT_EQ(m.file, QStringLiteral("%1.mid").arg(n));
        EXPECT_GT(m.scoreSeconds, 10.0);
        EXPECT_GT(m.levels.peak, 3000);
        EXPECT_LE(m.levels.clipped, hardlyClipped(m)) << "clipped";
        EXPECT_GT(m.levels.rms, 300);
        EXPECT_NEAR(m.levels.audibleSeconds, m.scoreSeconds, 1.5);
        EXPECT_GE(m.renderedSeconds, m.scoreSeconds);
        EXPECT_LE(m.renderedSeconds, m.scoreSeconds + kTailSeconds);
    }
}

TEST_F(MusicOnDisk, MissingStartMelodyLeavesTheRunSilentEvenAfterAChoice)
{
    RealGame game(" 5  0  4 \r\n"); // there is no 0.mid
    Form1& f1 = game.start();
    expectDiskFormat();
    ASSERT_FALSE(QFile::exists(game.pathOf(QStringLiteral("music/0.mid"))));
    ASSERT_TRUE(Output::run(0.2));

    const qint64 from = Output::size();
    game.tick();
    EXPECT_EQ(f1.file, QStringLiteral("0.mid"));
    ASSERT_TRUE(Output::run(1.0));
    EXPECT_EQ(Output::levels(from, Output::size()).peak, 0);
    EXPECT_EQ(game.options().Text1.text(), QStringLiteral("0")) << "no Done: the rotation stopped";

    // A choice opens its melody, but with nothing playing no Done comes to start it.
    game.options().Text1.setText(QStringLiteral("3"));
    game.options().Command5.click();
    EXPECT_EQ(game.messages, QStringList({QStringLiteral("мелодия номер 3")}));
    ASSERT_TRUE(Output::run(1.0));
    EXPECT_EQ(Output::levels(from, Output::size()).peak, 0);
    EXPECT_EQ(f1.num, 3.0f);
}

TEST_F(MusicOnDisk, HitEffectRingsOnEveryHitAlsoOnRapidHits)
{
    RealGame game(" 5  1  0 \r\n"); // speed 0: the ball stays where it is put
    Form1& f1 = game.start();
    f1.Timer4.setEnabled(false); // no music, only the effect
    game.tick();                 // the start-up grid pass
    expectDiskFormat();
    game.options().Option1.click();

    // One cell with many hits left and the ball inside it: every tick of the ball is one hit.
    for (auto& column : f1.cells)
        column.fill(0);
    f1.cells[3][2] = 50;
    f1.dx = 0;
    f1.ball.setLeft(49);
    f1.ball.setTop(33);
    f1.Timer1.setEnabled(true);
    ASSERT_TRUE(Output::run(0.2));

    // ring.Wav lasts 0.22 s: three hits after it has died away, then hits that restart it while it rings.
    const std::vector<double> gaps = {0.4, 0.4, 0.4, 0.1, 0.1, 0.1, 0.1, 0.1, 0.4};
    const qint64 from = Output::size();
    float left = f1.cells[3][2];
    for (const double gap : gaps) {
        game.tick();
        ASSERT_EQ(f1.cells[3][2], left - 1) << "each tick should be exactly one hit";
        left = f1.cells[3][2];
        ASSERT_TRUE(Output::run(gap));
    }
    const Levels l = Output::levels(from, Output::size());
    const int attacks = countAttacks(l.envelope);
    std::printf("effect: %zu hits, %d attacks heard, peak %d\n", gaps.size(), attacks, l.peak);
    EXPECT_GT(l.peak, 10000);
    EXPECT_EQ(attacks, static_cast<int>(gaps.size()));
}

} // namespace

// The sound a player hears, on a PulseAudio server of the test's own: the menu "звук" and the
// hit effect through the real SDL devices, measured on the null sink's monitor, and the stream's
// properties as the desktop's mixer reads them.
#include "audio/media_files.h"
#include "dialogs/form5.h"
#include "game/form1.h"
#include "game/forms.h"
#include "game/game_helpers.h"
#include "game/sound_menu.h"
#include "support/fakes.h"
#include "support/qt_print.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <grp.h>
#include <sys/prctl.h>
#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>

using testing_support::GameFixture;

namespace {

constexpr int kRate = 44100;
constexpr qint64 kWindow = kRate / 50; // 20 ms, in frames
constexpr double kSilentDb = -60;      // below this a window is silence
constexpr int kPatienceMs = 30000;     // the bound of every wait; a wait ends as soon as it can

QString g_notRunnable; // why no server can run here, found before the application starts

qint64 framesIn(double seconds) { return static_cast<qint64>(seconds * kRate); }

// A PulseAudio server with one null sink, its socket and its home in a folder of its own.
class SoundServer {
public:
    SoundServer()
    {
        if (!g_notRunnable.isEmpty()) {
            m_error = g_notRunnable;
            return;
        }
        if (!m_dir.isValid() || QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty()) {
            m_error = QStringLiteral("pulseaudio or parec is not installed (tools/install-deps.sh installs them)");
            return;
        }
        m_socket = m_dir.filePath(QStringLiteral("native"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        m_server.setProcessEnvironment(env);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(QStringLiteral("pulseaudio"),
                       {"--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "-n",
                        "-L", "module-null-sink sink_name=game",
                        "-L", "module-native-protocol-unix socket=" + m_socket});
        // The game and the tools reach this server, and no other.
        qputenv("SDL_AUDIODRIVER", "pulseaudio");
        qputenv("PULSE_SERVER", "unix:" + m_socket.toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
        qputenv("HOME", m_dir.path().toLocal8Bit());
        const bool up = m_server.waitForStarted(kPatienceMs) && QTest::qWaitFor([&] {
            return m_server.state() != QProcess::Running || tool({"info"}).has_value();
        }, kPatienceMs);
        if (!up || m_server.state() != QProcess::Running)
            m_error = QStringLiteral("PulseAudio did not start (%1, exit code %2): ").arg(m_server.errorString()).arg(m_server.exitCode())
                      + QString::fromLocal8Bit(m_server.readAll().right(600));
    }
    ~SoundServer()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.terminate();
        if (!m_server.waitForFinished(10000))
            m_server.kill();
        m_server.waitForFinished(10000);
    }

    const QString& error() const { return m_error; }

    // pactl's output, or nothing when it fails.
    static std::optional<QByteArray> tool(const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("pactl"), args);
        if (!p.waitForFinished(kPatienceMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return std::nullopt;
        return p.readAllStandardOutput();
    }

private:
    QTemporaryDir m_dir;
    QString m_socket, m_error;
    QProcess m_server;
};

std::unique_ptr<SoundServer> g_server; // started by the first test, stopped by main

SoundServer& server()
{
    if (!g_server)
        g_server = std::make_unique<SoundServer>();
    return *g_server;
}

// What the sink plays, from its monitor: 16-bit stereo frames, counted as they come.
class Recorder {
public:
    Recorder()
    {
        m_parec.start(QStringLiteral("parec"),
                      {"--device=game.monitor", "--raw", "--format=s16le", "--rate=" + QString::number(kRate),
                       "--channels=2", "--latency-msec=20"});
    }
    ~Recorder()
    {
        m_parec.kill();
        m_parec.waitForFinished(10000);
    }

    qint64 frames()
    {
        m_data += m_parec.readAllStandardOutput();
        return m_data.size() / 4;
    }
    // Pumps the events (the devices' Done among them) until `n` frames have come.
    bool waitFrames(qint64 n)
    {
        return QTest::qWaitFor([&] { return frames() >= n; }, kPatienceMs);
    }
    // RMS in dBFS over frames [from, from + count) of both channels; -inf for digital silence.
    double level(qint64 from, qint64 count) const
    {
        double sum = 0;
        const auto* s = reinterpret_cast<const qint16*>(m_data.constData());
        for (qint64 i = from * 2; i < (from + count) * 2; ++i)
            sum += double(s[i]) * s[i];
        return 10 * std::log10(sum / (2.0 * count) / (32768.0 * 32768.0));
    }
    int peak(qint64 from, qint64 count) const
    {
        int p = 0;
        const auto* s = reinterpret_cast<const qint16*>(m_data.constData());
        for (qint64 i = from * 2; i < (from + count) * 2; ++i)
            p = std::max(p, std::abs(int(s[i])));
        return p;
    }
    // The first 20 ms window at or after `from`, before `limit`, louder than `db`; -1 if none.
    qint64 firstAbove(qint64 from, qint64 limit, double db)
    {
        for (qint64 at = from; waitFrames(at + kWindow) && at < limit; at += kWindow)
            if (level(at, kWindow) > db)
                return at;
        return -1;
    }
    // The level of what plays steadily: the RMS over the next `seconds`, from `settle` seconds
    // on, of the windows that are not silence (a late buffer leaves a short gap, not a quieter
    // tone); of all of them when all are.
    double steadyLevel(double settle = 0.5, double seconds = 1.0)
    {
        const qint64 from = frames() + framesIn(settle);
        if (!waitFrames(from + framesIn(seconds)))
            return NAN;
        double sum = 0;
        int windows = 0;
        for (qint64 at = from; at + kWindow <= from + framesIn(seconds); at += kWindow) {
            const double db = level(at, kWindow);
            if (db > kSilentDb - 20) {
                sum += std::pow(10.0, db / 10);
                ++windows;
            }
        }
        return windows ? 10 * std::log10(sum / windows) : level(from, framesIn(seconds));
    }

private:
    QProcess m_parec;
    QByteArray m_data;
};

// An organ playing one note over and over, each struck as the last ends, for two minutes: an
// even level to measure, in which a new note soon sounds again after the volume was 0 (FluidSynth
// ends the notes that fall silent).
QByteArray organ()
{
    using namespace testmedia;
    QByteArray track;
    putVarLen(track, 0);
    track.append("\xC0\x13", 2); // church organ
    for (int i = 0; i < 480; ++i) {
        putVarLen(track, 0);
        track.append("\x90\x3C\x64", 3); // note on, middle C
        putVarLen(track, 240);            // 250 ms at 120 bpm
        track.append("\x80\x3C\x40", 3);
    }
    putVarLen(track, 0);
    track.append("\xFF\x2F\x00", 3);
    QByteArray file("MThd");
    putBE(file, 6, 4);
    putBE(file, 0, 2);
    putBE(file, 1, 2);
    putBE(file, 480, 2);
    file.append("MTrk");
    putBE(file, static_cast<uint32_t>(track.size()), 4);
    return file + track;
}

// The organ as every melody of the test.
void organMelodies(const GameFixture& fx)
{
    const QByteArray organ = ::organ();
    for (int n = 1; n <= 5; ++n)
        ASSERT_FALSE(testmedia::writeFile(fx.startFolder() + QStringLiteral("/music/%1.mid").arg(n), organ).isEmpty());
}

void report(const char* what, double db)
{
    std::cout << "level: " << what << ": " << db << " dBFS\n";
    ::testing::Test::RecordProperty(what, std::to_string(db));
}

class RealServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server().error().isEmpty())
            GTEST_SKIP() << "no sound server: " << server().error().toStdString();
        m_recorder = std::make_unique<Recorder>();
    }

    // The game's start, with the music start tick; true once its melody is heard.
    bool startHeard(Form1*& f1)
    {
        f1 = &fx.start();
        fx.tick();
        const qint64 now = rec().frames();
        return rec().firstAbove(now, now + framesIn(20), -40) >= 0;
    }
    Recorder& rec() { return *m_recorder; }

    GameFixture fx{true, [] { return audio::makeSdlDevice(); }};

private:
    std::unique_ptr<Recorder> m_recorder;
};

} // namespace

// The music is heard; at half volume at half its level and silent at 0; switched off it fades out
// (no cut at full level) and stays silent, while the chime still rings; on again, it is heard.
TEST_F(RealServer, MusicFollowsItsSwitchAndVolumeAndTheChimeRingsWithoutIt)
{
    organMelodies(fx);
    Form1* f1 = nullptr;
    ASSERT_TRUE(startHeard(f1)) << "the music is not heard";
    const double full = rec().steadyLevel();
    report("music at 100 %", full);
    EXPECT_GT(full, -30);

    f1->zvuk->musicVolumes[5].click();
    const double half = rec().steadyLevel();
    report("music at 50 %", half);
    EXPECT_NEAR(half - full, -6.0, 1.5) << "half the volume is half the level";
    f1->zvuk->musicVolumes[0].click();
    const double none = rec().steadyLevel();
    report("music at 0 %", none);
    EXPECT_LT(none, -70);
    f1->zvuk->musicVolumes[10].click();
    ASSERT_NEAR(rec().steadyLevel(), full, 1.0);

    // Off: where silence begins for good, the level had been falling for a while.
    const qint64 off = rec().frames();
    f1->zvuk->muzyka.click();
    qint64 silence = -1; // the first window of a second of silence
    for (qint64 at = off; at < off + framesIn(3) && silence < 0; at += kWindow)
        if (rec().firstAbove(at, at + framesIn(1), kSilentDb) < 0)
            silence = at;
    ASSERT_GE(silence, 0) << "the music did not stop";
    EXPECT_LT(rec().level(silence - kWindow, kWindow), full - 12) << "the melody was cut, not faded";
    EXPECT_LT(rec().level(silence - 5 * kWindow, kWindow), full - 3) << "no fade before the end";
    EXPECT_GT(rec().level(off, kWindow), full - 3) << "the melody was not playing when switched off";
    EXPECT_LT(rec().steadyLevel(0.5, 2.0), -70) << "a melody started with the music off";

    // The chime at a hit, with the music off.
    fx.forms().form5().Option1.click();
    farCellOnly(*f1);
    f1->cells[3][2] = 3;
    f1->skor = 0;
    placeBall(*f1, 50, 35);
    const qint64 hit = rec().frames();
    f1->Timer1_Tick();
    const qint64 ring = rec().firstAbove(hit, hit + framesIn(3), -40);
    ASSERT_GE(ring, 0) << "the chime is not heard with the music off";
    ASSERT_TRUE(rec().waitFrames(ring + framesIn(0.3)));
    report("chime, first 300 ms, music off", rec().level(ring, framesIn(0.3)));
    report("chime peak, music off", 20 * std::log10(rec().peak(ring, framesIn(0.3)) / 32768.0));

    f1->zvuk->muzyka.click();
    const qint64 on = rec().frames() + framesIn(1); // after the chime
    ASSERT_TRUE(rec().waitFrames(on));
    EXPECT_GE(rec().firstAbove(on, on + framesIn(20), -40), 0) << "the music is not heard when on again";
}

// Music off and half volume hold over a restart: nothing plays at the start, and on, the melody
// plays at half its level.
TEST_F(RealServer, ChoicesHoldOverARestart)
{
    organMelodies(fx);
    Form1* f1 = nullptr;
    ASSERT_TRUE(startHeard(f1));
    const double full = rec().steadyLevel();
    f1->zvuk->musicVolumes[5].click();
    f1->zvuk->muzyka.click();

    fx.restart();
    f1 = &fx.start();
    fx.tick();
    EXPECT_FALSE(f1->zvuk->muzyka.checked());
    EXPECT_LT(rec().steadyLevel(1.0, 2.0), -70) << "a melody plays with the music off";
    f1->zvuk->muzyka.click();
    const qint64 on = rec().frames();
    ASSERT_GE(rec().firstAbove(on, on + framesIn(20), -50), 0);
    EXPECT_NEAR(rec().steadyLevel() - full, -6.0, 1.5);
}

// The desktop's mixer shows the game's stream by its name and icon, says what plays, and may
// apply a game's policy.
TEST_F(RealServer, TheStreamCarriesTheGamesNameIconRoleAndWhatPlays)
{
    Form1* f1 = nullptr;
    ASSERT_TRUE(startHeard(f1));
    // pactl's text: its JSON mangles words outside ASCII.
    const std::optional<QByteArray> out = SoundServer::tool({"list", "sink-inputs"});
    ASSERT_TRUE(out);
    const QString text = QString::fromUtf8(*out);
    ASSERT_EQ(text.count(QStringLiteral("Sink Input #")), 1) << out->toStdString();
    QMap<QString, QString> props;
    static const QRegularExpression property(QString::fromLatin1(R"re(^\s+([\w.-]+) = "(.*)"$)re"));
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = property.match(line);
        if (m.hasMatch())
            props[m.captured(1)] = m.captured(2);
    }
    EXPECT_EQ(props["application.name"], "Plinkat");
    EXPECT_EQ(props["application.icon_name"], "plinkat");
    EXPECT_EQ(props["media.role"], "game");
    EXPECT_EQ(props["media.name"], "музыка");
}

// PulseAudio serves no root session: as root (CI), the whole program runs as "nobody", a player's
// rights, before anything else starts.
int main(int argc, char** argv)
{
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
        g_notRunnable = QStringLiteral("cannot leave root for an ordinary user: ") + QString::fromLocal8Bit(std::strerror(errno));
    prctl(PR_SET_DUMPABLE, 1); // the change of user made it undumpable, which the leak checker's tracer needs
    if (geteuid() == 0)
        g_notRunnable = QStringLiteral("runs as root, which PulseAudio refuses");
    // Listing the tests at build time runs this too: headless by default, as every test program.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    const int failed = RUN_ALL_TESTS();
    g_server.reset();
    return failed;
}

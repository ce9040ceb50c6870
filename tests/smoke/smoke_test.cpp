// The real binary in a virtual X server: start screen, start, and both ways of closing.
#include "xdriver.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kStartScreenWidth = 425; // 6375 twips
constexpr int kMainWindowWidth = 613;  // 9195 twips
const std::string kTitle = "Plinkat";
const QByteArray kCommaSettings = "5,1,4\r\n";

// A fresh play folder: the shipped data, the melodies and the sound, with settings written
// in a form the game itself never writes, so any rewrite shows.
class PlayFolder {
public:
    PlayFolder()
    {
        QDirIterator it(QStringLiteral(PLINKAT_PLAY_DIR), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString src = it.next();
            const QString rel = QDir(QStringLiteral(PLINKAT_PLAY_DIR)).relativeFilePath(src);
            if (rel == QLatin1String("plinkat"))
                continue;
            QDir().mkpath(QFileInfo(dir.filePath(rel)).path());
            QFile::copy(src, dir.filePath(rel));
        }
        writeSettings(kCommaSettings);
    }
    void writeSettings(const QByteArray& bytes) const
    {
        QFile f(dir.filePath("config.cfg"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
    QByteArray settings() const
    {
        QFile f(dir.filePath("config.cfg"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    QTemporaryDir dir;
};

void startGame(QProcess& game, const PlayFolder& folder)
{
    game.setWorkingDirectory(folder.dir.path());
    // A real window on the virtual X server, whatever platform the test runner asked for.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    game.setProcessEnvironment(env);
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(QStringLiteral(PLINKAT_BINARY), {});
    ASSERT_TRUE(game.waitForStarted(XDriver::kPatienceMs));
}

// Presses СТАРТ on the start screen and returns the main window.
std::optional<XWin> startToMainWindow(XDriver& x)
{
    const auto start = x.waitFor(kTitle, kStartScreenWidth);
    if (!start)
        return std::nullopt;
    x.click(*start, 24 + 192, 240 + 12); // "СТАРТ"
    return x.waitFor(kTitle, kMainWindowWidth);
}

void expectCleanExit(QProcess& game)
{
    ASSERT_TRUE(game.waitForFinished(XDriver::kPatienceMs));
    EXPECT_EQ(game.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(game.exitCode(), 0);
}

// The X server's keyboard layout, as setxkbmap reports it: "us", or "us(intl)" with a variant.
QString keyboardLayout()
{
    QProcess query;
    query.start(QStringLiteral("setxkbmap"), {QStringLiteral("-query")});
    query.waitForFinished(XDriver::kPatienceMs);
    QString layout, variant;
    for (const QByteArray& line : query.readAllStandardOutput().split('\n')) {
        const QString value = QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
        if (line.startsWith("layout:"))
            layout = value;
        else if (line.startsWith("variant:"))
            variant = value;
    }
    return variant.isEmpty() ? layout : layout + '(' + variant + ')';
}

// A copy of this program started as `<program> --put-keyboard-back <repeat 0|1> <layout> <variant>`
// puts the X server's keyboard so and ends, before any test runs.
constexpr const char* kPutBack = "--put-keyboard-back";

__attribute__((constructor)) void putKeyboardBackIfAsked(int argc, char** argv)
{
    if (argc != 5 || std::strcmp(argv[1], kPutBack) != 0)
        return;
    XDriver x;
    if (x.ok())
        x.setAutoRepeat(std::strcmp(argv[2], "1") == 0);
    char* const setxkbmap[] = {const_cast<char*>("setxkbmap"), const_cast<char*>("-layout"), argv[3],
                               const_cast<char*>("-variant"), argv[4], nullptr};
    ::execvp(setxkbmap[0], setxkbmap);
    ::_exit(127);
}

// The keyboard as a test found it (layout and key repeat), put back however the test ends: at its
// end, a failed ASSERT's early return or an exception (the destructor), exit() (atexit), or a
// SIGTERM, SIGINT or SIGHUP (a handler that puts it back, then dies of the signal). The putting
// back is done by a copy of this program (kPutBack), which a signal handler may start safely.
class KeyboardAsFound {
public:
    explicit KeyboardAsFound(XDriver& x)
    {
        const QString layout = keyboardLayout();
        const qsizetype open = layout.indexOf('(');
        s_args = {"/proc/self/exe", kPutBack, x.autoRepeat() ? "1" : "0", layout.left(open).toStdString(),
                  open < 0 ? std::string() : layout.mid(open + 1).chopped(1).toStdString()};
        s_argv.clear();
        for (std::string& a : s_args)
            s_argv.push_back(a.data());
        s_argv.push_back(nullptr);
        static const bool hooked = [] {
            std::atexit(putBack);
            struct sigaction act {};
            act.sa_handler = putBackThenDie;
            for (const int signo : {SIGTERM, SIGINT, SIGHUP})
                ::sigaction(signo, &act, nullptr);
            return true;
        }();
        (void)hooked;
        s_armed = 1;
    }
    ~KeyboardAsFound() { putBack(); }
    KeyboardAsFound(const KeyboardAsFound&) = delete;
    KeyboardAsFound& operator=(const KeyboardAsFound&) = delete;

private:
    // Only async-signal-safe calls: fork, execv, waitpid.
    static void putBack()
    {
        if (!s_armed)
            return;
        s_armed = 0;
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execv(s_argv[0], s_argv.data());
            ::_exit(127);
        }
        while (pid > 0 && ::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    static void putBackThenDie(int signo)
    {
        putBack();
        ::signal(signo, SIG_DFL);
        ::raise(signo);
    }
    static inline std::vector<std::string> s_args;
    static inline std::vector<char*> s_argv;
    static inline volatile std::sig_atomic_t s_armed = 0;
};

void setLayout(const char* layout)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), QLatin1String(layout)}), 0);
}

} // namespace

TEST(Smoke, StartThenCloseMainWindowWritesSettingsAndExitsCleanly)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    PlayFolder folder;
    QProcess game;
    startGame(game, folder);

    const auto start = x.waitFor(kTitle, kStartScreenWidth);
    ASSERT_TRUE(start) << "start screen titled Plinkat not shown";
    EXPECT_FALSE(x.find(kTitle, kMainWindowWidth)) << "main window must stay hidden behind the start screen";

    x.click(*start, 24 + 192, 240 + 12); // "СТАРТ"
    const auto main = x.waitFor(kTitle, kMainWindowWidth);
    ASSERT_TRUE(main) << "СТАРТ did not show the main window";
    EXPECT_TRUE(x.waitGone(kTitle, kStartScreenWidth));

    x.requestClose(*main);
    expectCleanExit(game);
    // Melody 1 started at start-up, so the next melody to play is 2.
    EXPECT_EQ(folder.settings(), QByteArray(" 5  2  4 \r\n"));
}

// A window size chosen under "вид" that the screen cannot hold: 200 % of the main window is
// taller than 768 pixels, so the game takes the largest size that fits, 115 %, for every window.
TEST(Smoke, AWindowSizeTooLargeForTheScreenBecomesTheLargestThatFits)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    PlayFolder folder;
    QFile view(folder.dir.filePath("view.cfg"));
    ASSERT_TRUE(view.open(QIODevice::WriteOnly));
    view.write("window-size 200\n");
    view.close();
    QProcess game;
    startGame(game, folder);

    const auto start = x.waitFor(kTitle, 489); // 425 px at 115 %
    ASSERT_TRUE(start) << "no start screen at 115 %";
    x.click(*start, (24 + 192) * 115 / 100, (240 + 12) * 115 / 100); // "СТАРТ"
    const auto main = x.waitFor(kTitle, 705);
    ASSERT_TRUE(main) << "no main window at 115 %";
    EXPECT_LE(main->height, 768);
    x.requestClose(*main);
    expectCleanExit(game);
}

TEST(Smoke, ClosingTheStartScreenExitsWithoutTouchingSettings)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    PlayFolder folder;
    QProcess game;
    startGame(game, folder);

    const auto start = x.waitFor(kTitle, kStartScreenWidth);
    ASSERT_TRUE(start);
    x.requestClose(*start);
    expectCleanExit(game);
    EXPECT_EQ(folder.settings(), kCommaSettings);
}

// A logout (SIGTERM), a closed terminal (SIGHUP) and Ctrl+C (SIGINT) close the window the player
// is in, as its close box would: the main window writes the settings, the start screen does not.
TEST(Smoke, SignalsCloseTheWindowThePlayerIsIn)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    for (const int signo : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signo);
        PlayFolder folder;
        QProcess game;
        startGame(game, folder);
        ASSERT_TRUE(startToMainWindow(x));
        ::kill(static_cast<pid_t>(game.processId()), signo);
        expectCleanExit(game);
        EXPECT_EQ(folder.settings(), QByteArray(" 5  2  4 \r\n"));
    }

    PlayFolder folder;
    QProcess game;
    startGame(game, folder);
    ASSERT_TRUE(x.waitFor(kTitle, kStartScreenWidth));
    ::kill(static_cast<pid_t>(game.processId()), SIGTERM);
    expectCleanExit(game);
    EXPECT_EQ(folder.settings(), kCommaSettings);

    // Damaged settings: start-up waits in a box, before any window of the game shows.
    folder.writeSettings("5 x");
    QProcess early;
    startGame(early, folder);
    ASSERT_TRUE(x.waitForOther(kTitle, kStartScreenWidth));
    ::kill(static_cast<pid_t>(early.processId()), SIGTERM);
    expectCleanExit(early);
    EXPECT_EQ(folder.settings(), "5 x");
}

// Under the Russian layout the P key types "З"; the key in P's place still pauses and resumes. A
// resume drops the ball 30 mm, so it is lost at once and "БАБАХ !!!" waits for OK. A logout then
// still ends the game as the main window's close box does.
TEST(Smoke, PauseKeyWorksUnderTheRussianLayoutAndALogoutDuringABoxSavesTheSettings)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    KeyboardAsFound keyboard(x);
    setLayout("ru");
    PlayFolder folder;
    QProcess game;
    startGame(game, folder);
    const auto main = startToMainWindow(x);
    ASSERT_TRUE(main);
    x.click(*main, main->width / 2, main->height - 30); // launch; the wall takes the keyboard focus
    constexpr unsigned kKeyInPsPlace = 33;
    x.pressKey(kKeyInPsPlace); // pause
    x.pressKey(kKeyInPsPlace); // resume, 30 mm lower
    EXPECT_TRUE(x.waitForOther(kTitle, kMainWindowWidth)) << "no box: the key in P's place did not pause and resume";
    ::kill(static_cast<pid_t>(game.processId()), SIGTERM);
    expectCleanExit(game);
    EXPECT_EQ(folder.settings(), QByteArray(" 5  2  4 \r\n"));
}

namespace {

// Waits, looking every 50 ms, for the ball in the window to stand where `wanted` says; its last
// place is kept in `at`.
bool waitForBall(XDriver& x, const XWin& w, std::optional<std::pair<int, int>>& at,
                 const std::function<bool(const std::optional<std::pair<int, int>>&)>& wanted)
{
    for (int t = 0; t < XDriver::kPatienceMs; t += 50) {
        at = x.ballAt(w);
        if (wanted(at))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

} // namespace

// Under the Russian layout and with the key repeat off, → held carries the resting ball along
// with the paddle and Space launches. Another program's window taking the focus stops the ball at
// once; back in the game nothing starts by itself, and Space goes on.
TEST(Smoke, KeysSteerAndLaunchAndAnotherProgramTakingTheFocusHoldsTheBall)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    KeyboardAsFound keyboard(x);
    setLayout("ru");
    x.setAutoRepeat(false);
    PlayFolder folder;
    QProcess game;
    startGame(game, folder);
    const auto main = startToMainWindow(x);
    ASSERT_TRUE(main);
    constexpr unsigned kRight = 114, kSpace = 65;
    std::optional<std::pair<int, int>> rest, at;
    ASSERT_TRUE(waitForBall(x, *main, rest, [](const auto& b) { return b.has_value(); }));

    x.keyDown(kRight);
    EXPECT_TRUE(waitForBall(x, *main, at, [&](const auto& b) { return b && b->first > rest->first + 100; }))
        << "→ held did not move the paddle with the ball on it";
    x.keyUp(kRight);
    x.pressKey(kSpace);
    ASSERT_TRUE(waitForBall(x, *main, rest, [&](const auto& b) { return b && b->second < at->second - 20; }))
        << "Space did not launch";

    // Stopped: the same place in six looks in a row (a game only starved of time for a moment
    // would not pass for stopped). The pauses after it give a wrong game the time to move on; a
    // slow machine can only make them kinder, never fail a right game.
    x.focusOwnWindow();
    std::optional<std::pair<int, int>> held;
    int same = 0;
    ASSERT_TRUE(waitForBall(x, *main, held, [&](const auto& b) {
        same = b && b == at ? same + 1 : 0;
        at = b;
        return same >= 5;
    })) << "the ball did not stop";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(x.ballAt(*main), held) << "the ball moved on while another program had the focus";
    EXPECT_FALSE(x.find(kTitle, 200)) << "no box: the ball was not lost";
    x.focus(*main);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(x.ballAt(*main), held) << "the ball went on by itself";
    x.pressKey(kSpace);
    EXPECT_TRUE(waitForBall(x, *main, at, [&](const auto& b) { return b != held; })) << "Space did not go on";

    x.requestClose(*main);
    expectCleanExit(game);
}

// Run only by the test below, in a copy of this program: a test that changes the keyboard, then
// ends midway in the way PLINKAT_END_MIDWAY names.
TEST(Smoke, DISABLED_ChangesTheKeyboardAndEndsMidway)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    KeyboardAsFound keyboard(x);
    setLayout("ru");
    x.setAutoRepeat(false);
    const QByteArray how = qgetenv("PLINKAT_END_MIDWAY");
    if (how == "signal")
        ::kill(::getpid(), SIGTERM);
    if (how == "exit")
        std::exit(3);
    if (how == "throw")
        throw std::runtime_error("midway");
    ASSERT_TRUE(false) << "midway";
}

TEST(Smoke, ATestEndingMidwayLeavesTheKeyboardAsItFoundIt)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    const QString layout = keyboardLayout();
    const bool repeat = x.autoRepeat();
    ASSERT_NE(layout, "ru");
    for (const char* how : {"assert", "throw", "exit", "signal"}) {
        SCOPED_TRACE(how);
        QProcess copy;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PLINKAT_END_MIDWAY"), QLatin1String(how));
        copy.setProcessEnvironment(env);
        copy.start(QStringLiteral("/proc/self/exe"), {QStringLiteral("--gtest_also_run_disabled_tests"),
                                                      QStringLiteral("--gtest_filter=Smoke.DISABLED_ChangesTheKeyboardAndEndsMidway")});
        ASSERT_TRUE(copy.waitForFinished(XDriver::kPatienceMs));
        EXPECT_TRUE(copy.exitStatus() == QProcess::CrashExit || copy.exitCode() != 0) << "the copy did not end midway";
        EXPECT_EQ(keyboardLayout(), layout);
        EXPECT_EQ(x.autoRepeat(), repeat);
    }
}

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The command of a desktop entry's Exec line, with its quotes taken off.
QString execOf(const QString& desktopFile)
{
    for (const QByteArray& line : readAll(desktopFile).split('\n')) {
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line.mid(5)).remove(QLatin1Char('"')).trimmed();
    }
    return {};
}

} // namespace

// cmake --install into a scratch prefix, then the game started the way the desktop menu starts
// it: the per-user play folder gets every shipped file it lacks and keeps the player's own.
TEST(Smoke, InstalledGameStartsFromItsDesktopEntryInThePlayersFolder)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    QTemporaryDir prefix, home;
    QProcess install;
    install.setProcessChannelMode(QProcess::ForwardedChannels);
    install.start(QStringLiteral(PLINKAT_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(PLINKAT_BUILD_DIR), QStringLiteral("--prefix"), prefix.path()});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0);

    const QString share = prefix.filePath(QStringLiteral("share"));
    const QString entry = QStringLiteral("applications/" PLINKAT_APP_ID ".desktop");
    for (const char* file : {"icons/hicolor/48x48/apps/plinkat.png", "icons/hicolor/256x256/apps/plinkat.png",
                             "games/plinkat/1.dbm", "games/plinkat/15.dbm", "games/plinkat/config.cfg",
                             "games/plinkat/ring.Wav", "games/plinkat/music/5.mid"})
        EXPECT_TRUE(QFileInfo::exists(share + QLatin1Char('/') + QLatin1String(file))) << file;
    const QString exec = execOf(share + QLatin1Char('/') + entry);
    ASSERT_TRUE(QFileInfo(exec).isExecutable()) << exec.toStdString();

    // A player who has already played: an own first map and own settings.
    const QString play = home.filePath(QStringLiteral("data/plinkat"));
    const QByteArray ownMap = QByteArray(" 3 \r\n").repeated(40);
    const QByteArray ownSettings = " 5  3  7 \r\n";
    writeAll(play + QStringLiteral("/1.dbm"), ownMap);
    writeAll(play + QStringLiteral("/config.cfg"), ownSettings);

    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    game.setProcessEnvironment(env);
    game.setWorkingDirectory(home.path()); // the menu starts programs anywhere
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(exec, {});
    ASSERT_TRUE(game.waitForStarted(XDriver::kPatienceMs));

    const auto start = x.waitFor(kTitle, kStartScreenWidth);
    ASSERT_TRUE(start) << "the installed game showed no start screen";
    x.requestClose(*start);
    expectCleanExit(game);

    EXPECT_EQ(readAll(play + QStringLiteral("/1.dbm")), ownMap);
    EXPECT_EQ(readAll(play + QStringLiteral("/config.cfg")), ownSettings);
    for (const char* file : {"2.dbm", "15.dbm", "ring.Wav", "music/1.mid", "music/5.mid"}) {
        const QString name = QLatin1String(file);
        EXPECT_EQ(readAll(play + QLatin1Char('/') + name), readAll(share + QStringLiteral("/games/plinkat/") + name)) << file;
    }
    EXPECT_FALSE(QFileInfo::exists(play + QStringLiteral("/save.dbs")));
}

namespace {

// The ball stands still: the same place in six looks in a row.
bool waitForBallStill(XDriver& x, const XWin& w, std::optional<std::pair<int, int>>& at)
{
    int same = 0;
    std::optional<std::pair<int, int>> last;
    return waitForBall(x, w, at, [&](const auto& b) {
        same = b && b == last ? same + 1 : 0;
        last = b;
        return same >= 5;
    });
}

} // namespace

// Every key of a real keyboard that is no command of the game's, pressed and let go in the main
// window just opened, neither launches, nor steers, nor reads the map; D steers from the start.
// Shift held over a click on the wall is the trick alone, and "vorp" typed in the hint line with a
// Shift-press on the paddle opens the level jump.
TEST(Smoke, KeysThatAreNoCommandDoNothingAndTheLevelJumpOpens)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    PlayFolder folder;
    QProcess game;
    startGame(game, folder);
    const auto main = startToMainWindow(x);
    ASSERT_TRUE(main);
    std::optional<std::pair<int, int>> rest, at;
    ASSERT_TRUE(waitForBallStill(x, *main, rest));
    constexpr unsigned long kRed = 0xfa0000;
    const int red = x.countColour(*main, kRed);
    // A map read from now on paints every cell red.
    {
        QFile map(folder.dir.filePath("1.dbm"));
        ASSERT_TRUE(map.open(QIODevice::WriteOnly | QIODevice::Truncate));
        map.write(QByteArray(" 3 \r\n").repeated(40));
    }

    // X key codes: Shift, Ctrl, Alt, AltGr, Super, Caps Lock and Num Lock (twice, so they end as
    // they were), Esc, Home, End, PgUp, PgDn, Insert, Delete, Backspace, Menu, F1-F9, F11, F12.
    for (const unsigned key : {50u, 37u, 64u, 108u, 133u, 66u, 66u, 77u, 77u, 9u, 110u, 115u, 112u, 117u, 118u, 119u,
                               22u, 135u, 67u, 68u, 69u, 70u, 71u, 72u, 73u, 74u, 75u, 95u, 96u}) {
        SCOPED_TRACE(key);
        x.pressKey(key);
    }
    constexpr unsigned kD = 40, kShift = 50;
    x.keyDown(kD); // the keys above have all been taken by the time D moves the ball
    EXPECT_TRUE(waitForBall(x, *main, at, [&](const auto& b) { return b && b->first > rest->first + 20; }))
        << "D did not steer the resting ball";
    x.keyUp(kD);
    ASSERT_TRUE(waitForBallStill(x, *main, at)) << "the ball flies: a key launched it";
    EXPECT_EQ(at->second, rest->second) << "the ball left the paddle";
    EXPECT_EQ(x.countColour(*main, kRed), red) << "a key read the level's map";

    // Shift and a click on the wall: the trick from a stopped game reads the map, and the ball
    // stays on the paddle.
    x.keyDown(kShift);
    x.click(*main, main->width / 2, main->height - 30);
    x.keyUp(kShift);
    ASSERT_TRUE(waitForBallStill(x, *main, at)) << "the ball flies: Shift launched it";
    EXPECT_GT(x.countColour(*main, kRed), red) << "the trick did not read the map";

    // The hint line, clicked, takes the letters; Shift-press on the paddle (where the ball rests
    // on it) opens the level jump.
    const int menuBar = main->height - 549; // the client area is 8235 twips high
    x.click(*main, 60, menuBar + 16);
    constexpr unsigned kCtrl = 37, kA = 38;
    x.keyDown(kCtrl); // select the hint, so the word replaces it
    x.pressKey(kA);
    x.keyUp(kCtrl);
    for (const unsigned key : {55u, 32u, 27u, 33u}) // v o r p
        x.pressKey(key);
    x.keyDown(kShift);
    x.click(*main, at->first + 16, menuBar + 468); // the paddle's middle (6840 + 375 / 2 twips), below the ball
    x.keyUp(kShift);
    EXPECT_TRUE(x.waitForOther("select level", -1)) << "the level jump did not open";

    x.requestClose(*main);
    expectCleanExit(game);
}

// The hint line is a text box: whatever is typed there stays as typed, spaces and capitals too, and
// launches nothing. Only the word itself, with a Shift-press on the paddle, opens the level jump.
// What the line holds is read back through the clipboard (Ctrl+A, Ctrl+C), as the player's text.
// A click on the wall gives the keys back to the game: P pauses and Space launches again.
TEST(Smoke, TheHintLineKeepsWhatIsTypedAndOnlyTheWordOpensTheLevelJump)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    KeyboardAsFound keyboard(x);
    setLayout("us");
    PlayFolder folder;
    QProcess game;
    startGame(game, folder);
    const auto main = startToMainWindow(x);
    ASSERT_TRUE(main);
    std::optional<std::pair<int, int>> rest, at;
    ASSERT_TRUE(waitForBallStill(x, *main, rest));
    const int menuBar = main->height - 549; // the client area is 8235 twips high
    constexpr unsigned kShift = 50, kCtrl = 37, kA = 38, kC = 54, kSpace = 65, kP = 33;
    const auto withKey = [&](unsigned held, unsigned key) {
        x.keyDown(held);
        x.pressKey(key);
        x.keyUp(held);
    };
    // X key codes of the letters and Space, by the character they type on a US layout.
    const auto keyOf = [](char c) -> unsigned {
        switch (c) {
        case 'v': return 55;
        case 'o': return 32;
        case 'r': return 27;
        case 'p': return 33;
        default: return kSpace;
        }
    };
    // Types the text into the hint line in place of what it holds, then Shift-presses the paddle.
    const auto typeThenShiftPressPaddle = [&](const std::string& text) {
        x.click(*main, 60, menuBar + 16);
        withKey(kCtrl, kA);
        for (const char c : text) {
            if (c == 'V')
                withKey(kShift, keyOf('v'));
            else
                x.pressKey(keyOf(c));
        }
        x.keyDown(kShift);
        x.click(*main, rest->first + 16, menuBar + 468); // the paddle's middle, below the resting ball
        x.keyUp(kShift);
    };

    for (const std::string text : {"Vorp", "vorp ", "vorpp", "vo rp"}) {
        SCOPED_TRACE(text);
        typeThenShiftPressPaddle(text);
        x.claimClipboard();
        withKey(kCtrl, kA);
        withKey(kCtrl, kC);
        // The copy comes after the press in the game's queue: a level jump it opened is mapped by now.
        EXPECT_EQ(x.waitForClipboardText(), text) << "the hint line does not hold what was typed";
        EXPECT_FALSE(x.waitForOther("select level", -1, 1)) << "the level jump opened";
        ASSERT_TRUE(waitForBallStill(x, *main, at)) << "the ball flies: a key launched it";
        EXPECT_EQ(at, rest) << "the ball left the paddle";
    }

    typeThenShiftPressPaddle("vorp");
    const auto jump = x.waitForOther("select level", -1);
    ASSERT_TRUE(jump) << "the level jump did not open";
    x.requestClose(*jump);
    ASSERT_TRUE(x.waitGone("select level", jump->width));

    // A click on the wall launches and gives it the keys: P pauses, Space goes on.
    x.focus(*main);
    x.click(*main, main->width / 2, main->height - 30);
    x.pressKey(kP);
    ASSERT_TRUE(waitForBallStill(x, *main, at)) << "P did not pause";
    EXPECT_NE(at, rest) << "the click on the wall did not launch";
    x.pressKey(kSpace);
    const auto paused = at;
    EXPECT_TRUE(waitForBall(x, *main, at, [&](const auto& b) { return b && b != paused; })) << "Space did not launch";

    x.requestClose(*main);
    expectCleanExit(game);
}

namespace {

// One frame of the game's frame log (PLINKAT_FRAME_LOG).
struct LoggedFrame {
    long long blank = 0;
    unsigned long long count = 0;
    bool flying = false;
    long ticks = 0;
    char source = 0;
};

std::vector<LoggedFrame> readFrameLog(const QString& path)
{
    std::vector<LoggedFrame> frames;
    for (const QByteArray& line : readAll(path).split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        LoggedFrame f;
        long long drawn = 0;
        double left = 0, top = 0, share = 0;
        int flying = 0;
        if (std::sscanf(line.constData(), "%lld %llu %lld %lf %lf %lf %d %ld %c", &f.blank, &f.count, &drawn, &left,
                        &top, &share, &flying, &f.ticks, &f.source) == 9) {
            f.flying = flying != 0;
            frames.push_back(f);
        }
    }
    return frames;
}

// The game played from the start screen to a ball lost, with its frame log; `preload` is put
// before the game's libraries.
std::vector<LoggedFrame> flightLogged(XDriver& x, const QString& preload)
{
    PlayFolder folder;
    // One green cell at the top left, out of the ball's way: it flies up to the top wall and down.
    writeAll(folder.dir.filePath(QStringLiteral("1.dbm")), " 1 \r\n" + QByteArray(" 0 \r\n").repeated(39));
    const QString log = folder.dir.filePath(QStringLiteral("frames.log"));
    QProcess game;
    game.setWorkingDirectory(folder.dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("PLINKAT_FRAME_LOG"), log);
    if (!preload.isEmpty()) {
        env.insert(QStringLiteral("LD_PRELOAD"), preload);
        // Under AddressSanitizer its runtime no longer comes first; the library needs none of it.
        const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), asan + (asan.isEmpty() ? "" : ":") + "verify_asan_link_order=0");
    }
    game.setProcessEnvironment(env);
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(QStringLiteral(PLINKAT_BINARY), {});
    if (!game.waitForStarted(XDriver::kPatienceMs))
        return {};
    const auto main = startToMainWindow(x);
    if (!main)
        return {};
    x.click(*main, main->width / 2, main->height - 30); // launch; the paddle stays where it is
    const auto box = x.waitForOther(kTitle, kMainWindowWidth); // "БАБАХ !!!": the frames have stopped
    if (box)
        x.requestClose(*box);
    x.requestClose(*main);
    game.waitForFinished(XDriver::kPatienceMs);
    return readFrameLog(log);
}

} // namespace

// Frames follow the display's blanks: under an X server whose Present fakes a blank 60 times a
// second, the frames of the ball's flight are drawn for the blanks, one each and in turn. With the
// extension hidden, a timer draws them; the ball ticks at its pace either way. The counts and ticks
// come from the game's frame log.
TEST(Smoke, FramesFollowTheBlanksAndThePaceHoldsWithoutThem)
{
    if (qgetenv("PLINKAT_FAKE_BLANKS") != "60")
        GTEST_SKIP() << "needs an X server with -fakescreenfps 60";
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    for (const bool present : {true, false}) {
        SCOPED_TRACE(present ? "Present" : "no Present");
        std::vector<LoggedFrame> frames = flightLogged(x, present ? QString() : QStringLiteral(PLINKAT_NO_PRESENT));
        std::erase_if(frames, [](const LoggedFrame& f) { return !f.flying; });
        ASSERT_GE(frames.size(), 30u) << "too short a flight in the log";
        std::size_t byBlank = 0, inTurn = 0;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            byBlank += frames[i].source == 'P';
            if (i > 0 && frames[i].source == 'P' && frames[i - 1].source == 'P') {
                EXPECT_GT(frames[i].count, frames[i - 1].count) << "a blank drawn twice";
                inTurn += frames[i].count == frames[i - 1].count + 1;
            }
        }
        if (present) {
            EXPECT_GE(byBlank * 4, frames.size() * 3) << "frames not paced by the blanks";
            EXPECT_GE(inTurn * 4, frames.size() * 3) << "blanks skipped";
        } else {
            EXPECT_EQ(byBlank, 0u);
        }
        const double ticks = static_cast<double>(frames.back().ticks - frames.front().ticks);
        const double due = static_cast<double>(frames.back().blank - frames.front().blank) / 16000.0;
        EXPECT_NEAR(ticks / due, 1.0, 0.1) << ticks << " ticks where " << due << " were due";
    }
}

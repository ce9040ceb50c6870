// The real game under X on a disk that takes nothing more: the settings written at the end, the
// saved game and a map saved over an existing one each keep their old file byte for byte, and the
// player sees a box naming the file and the reason (wider than the path box before it, where a
// successful save would show the narrow level box). The game still ends cleanly.
#include "small_disk.h"
#include "xdriver.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using small_disk::SmallDisk;

namespace {

__attribute__((constructor)) void setUpProcess()
{
    small_disk::enterOwnMountNamespace();
}

constexpr int kStartScreenWidth = 425;
constexpr int kMainWindowWidth = 613;
constexpr int kEditorWidth = 485;
const std::string kTitle = "Plinkat";
// X key codes: keys by their place, whatever the layout.
constexpr unsigned kDown = 116, kRight = 114, kReturn = 36;

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The shipped play folder, without the game itself, and the player's own files.
void fillPlayFolder(const QString& to)
{
    const QDir from(QStringLiteral(PLINKAT_PLAY_DIR));
    QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = from.relativeFilePath(it.next());
        if (rel == QLatin1String("plinkat"))
            continue;
        QDir().mkpath(QFileInfo(to + QLatin1Char('/') + rel).path());
        QFile::copy(from.filePath(rel), to + QLatin1Char('/') + rel);
    }
    for (const auto& [name, bytes] : {std::pair{"config.cfg", QByteArray(" 5  3  4.5 \r\n")}, {"save.dbs", QByteArray(" 7 \r\n")}}) {
        QFile f(to + QLatin1Char('/') + QLatin1String(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
}

class Game {
public:
    Game(const QString& folder, const QString& faults = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        if (!faults.isEmpty()) {
            env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(PLINKAT_FAULTS_LIB));
            env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
            env.insert(QStringLiteral("PLINKAT_FAULTS"), faults);
        }
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(PLINKAT_BINARY), {});
    }
    ~Game()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    QProcess process;
};

// Presses СТАРТ on the start screen; returns the main window.
std::optional<XWin> toMainWindow(XDriver& x)
{
    const auto start = x.waitFor(kTitle, kStartScreenWidth);
    if (!start)
        return std::nullopt;
    x.click(*start, 24 + 192, 240 + 12);
    return x.waitFor(kTitle, kMainWindowWidth);
}

// The box in front of the main window, closed by the player; its width, or 0 for none.
int answerBox(XDriver& x)
{
    const auto box = x.waitForOther(kTitle, kMainWindowWidth);
    if (!box)
        return 0;
    x.requestClose(*box);
    return x.waitGone(kTitle, box->width) ? box->width : 0;
}

// A save that fails shows its path, then a box with the path and more: the failure, not the level.
void expectPathThenFailure(XDriver& x)
{
    const int path = answerBox(x);
    ASSERT_GT(path, 0) << "no path box";
    const int failure = answerBox(x);
    EXPECT_GT(failure, path) << "the box after the path box is not the failure's";
}

void saveGame(XDriver& x, const XWin& main)
{
    x.click(main, 26, 9); // "файл"
    for (const unsigned key : {kDown, kRight, kDown, kReturn}) // "сэйвы" → "сохранить"
        x.pressKey(key);
}

void saveMapFromTheEditor(XDriver& x, const XWin& main)
{
    x.click(main, 26, 9);
    for (const unsigned key : {kDown, kDown, kDown, kReturn}) // "редактор карт"
        x.pressKey(key);
    const auto editor = x.waitFor("РЕДАКТОР КАРТ", kEditorWidth);
    ASSERT_TRUE(editor) << "no editor";
    x.click(*editor, 396, 272); // "save-load": the dialog, its name box still "1.dbm"
    const auto dialog = x.waitFor("save - load", 305);
    ASSERT_TRUE(dialog) << "no save/load dialog";
    x.click(*dialog, 44, 232); // "save"
}

void expectCleanExitAfterTheBox(XDriver& x, Game& game, const XWin& main)
{
    x.requestClose(main);
    EXPECT_GT(answerBox(x), 0) << "the failed settings were not told";
    ASSERT_TRUE(game.process.waitForFinished(XDriver::kPatienceMs));
    EXPECT_EQ(game.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(game.process.exitCode(), 0);
}

QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp-*")}, QDir::Files | QDir::Hidden);
}

} // namespace

TEST(RealGame, OnAFullDiskTheSettingsTheSavedGameAndAMapKeepTheirBytesAndThePlayerIsTold)
{
    SmallDisk disk(1024);
    if (!disk.ok())
        GTEST_SKIP() << disk.why();
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    fillPlayFolder(disk.path());
    const QByteArray settings = bytesOf(disk.path() + "/config.cfg"), saved = bytesOf(disk.path() + "/save.dbs"),
                     map = bytesOf(disk.path() + "/1.dbm");
    ASSERT_TRUE(disk.fill());

    Game game(disk.path());
    const auto main = toMainWindow(x);
    ASSERT_TRUE(main);
    saveGame(x, *main);
    expectPathThenFailure(x);
    saveMapFromTheEditor(x, *main);
    expectPathThenFailure(x);
    expectCleanExitAfterTheBox(x, game, *main);

    EXPECT_EQ(bytesOf(disk.path() + "/config.cfg"), settings);
    EXPECT_EQ(bytesOf(disk.path() + "/save.dbs"), saved);
    EXPECT_EQ(bytesOf(disk.path() + "/1.dbm"), map);
    EXPECT_EQ(leftovers(disk.path()), QStringList());
}

// A disk error and an exhausted quota, made below the game by the preloaded fault library.
TEST(RealGame, ADiskErrorOrAnExhaustedQuotaKeepsTheSettingsAndTheSavedGame)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    for (const char* fault : {"write=EIO", "fsync=EDQUOT"}) {
        SCOPED_TRACE(fault);
        QTemporaryDir folder;
        fillPlayFolder(folder.path());
        const QByteArray settings = bytesOf(folder.filePath("config.cfg")), saved = bytesOf(folder.filePath("save.dbs"));
        Game game(folder.path(), folder.path() + QLatin1Char('|') + QLatin1String(fault));
        const auto main = toMainWindow(x);
        ASSERT_TRUE(main);
        saveGame(x, *main);
        expectPathThenFailure(x);
        expectCleanExitAfterTheBox(x, game, *main);
        EXPECT_EQ(bytesOf(folder.filePath("config.cfg")), settings);
        EXPECT_EQ(bytesOf(folder.filePath("save.dbs")), saved);
        EXPECT_EQ(leftovers(folder.path()), QStringList());
    }
}

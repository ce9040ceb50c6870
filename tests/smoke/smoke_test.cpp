// The real binary in a virtual X server: start screen, start, and both ways of closing.
#include "xdriver.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
        QFile::remove(dir.filePath("config.cfg"));
        QFile f(dir.filePath("config.cfg"));
        f.open(QIODevice::WriteOnly);
        f.write(kCommaSettings);
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
    ASSERT_TRUE(game.waitForStarted(5000));
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
    ASSERT_TRUE(game.waitForFinished(10000));
    EXPECT_EQ(game.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(game.exitCode(), 0);
    // Melody 1 started at start-up, so the next melody to play is 2.
    EXPECT_EQ(folder.settings(), QByteArray(" 5  2  4 \r\n"));
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
    ASSERT_TRUE(game.waitForFinished(10000));
    EXPECT_EQ(game.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(game.exitCode(), 0);
    EXPECT_EQ(folder.settings(), kCommaSettings);
}

// The command line and the play folder the game prepares before its first window.
#include "launch/command_line.h"
#include "launch/play_folder.h"
#include "support/qt_print.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Action = launch::CommandLine::Action;

launch::CommandLine read(const QStringList& arguments)
{
    return launch::readCommandLine(QStringList{QStringLiteral("plinkat")} + arguments);
}

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(CommandLine, ReadsTheFolderHelpAndVersionAndLeavesQtsOwnOptionsToQt)
{
    EXPECT_EQ(read({}).action, Action::Play);
    EXPECT_TRUE(read({}).folder.isEmpty());
    EXPECT_EQ(read({"--folder", "/srv/maps"}).folder, "/srv/maps");
    EXPECT_EQ(read({"-folder=maps"}).folder, "maps");
    // What a desktop session restores the game with, and Qt's choice of platform.
    const auto restored = read({"-session", "10d2c6", "--platform", "xcb", "-reverse", "--folder", "d", "-style=fusion"});
    EXPECT_EQ(restored.action, Action::Play) << restored.error.toStdString();
    EXPECT_EQ(restored.folder, "d");
    for (const char* help : {"-h", "--help", "-?", "-help"})
        EXPECT_EQ(read({help}).action, Action::Help) << help;
    for (const char* version : {"-v", "--version"})
        EXPECT_EQ(read({version}).action, Action::Version) << version;
}

TEST(CommandLine, AWrongArgumentIsNamedAsTyped)
{
    const struct {
        QStringList arguments;
        const char* named;
    } cases[] = {
        {{"--nonsense"}, "«--nonsense»"},
        {{"-x=1"}, "«-x»"},
        {{"--help", "--bogus"}, "«--bogus»"}, // wrong before helpful
        {{"--folder"}, "«--folder»"},
        {{"--folder="}, "«--folder»"},
        {{"maps"}, "«maps»"},
        {{"--", "-h"}, "«-h»"},
    };
    for (const auto& c : cases) {
        const auto line = read(c.arguments);
        EXPECT_EQ(line.action, Action::Wrong) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(line.error.contains(QString::fromUtf8(c.named))) << line.error.toStdString();
    }
}

TEST(PlayFolder, GetsEveryShippedFileItLacksAndKeepsWhateverIsThere)
{
    QTemporaryDir dir;
    const QString shipped = dir.filePath("usr/share/games/plinkat");
    put(shipped + "/1.dbm", "shipped map");
    put(shipped + "/config.cfg", " 5  1  4 \r\n");
    put(shipped + "/music/1.mid", "MThd");

    // A player who has played: an own map, and settings that are a link to nowhere.
    const QString play = dir.filePath("home/.local/share/plinkat");
    put(play + "/1.dbm", "own map");
    ASSERT_TRUE(QFile::link(dir.filePath("nowhere/config.cfg"), play + "/config.cfg"));
    EXPECT_EQ(launch::preparePlayFolder(play, shipped), QString());
    EXPECT_EQ(contents(play + "/1.dbm"), "own map");
    EXPECT_TRUE(QFileInfo(play + "/config.cfg").isSymLink());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("nowhere/config.cfg"))) << "written through the link";
    EXPECT_EQ(contents(play + "/music/1.mid"), "MThd");

    // A new player: the folder and those above it are made.
    const QString fresh = dir.filePath("new/data/plinkat");
    EXPECT_EQ(launch::preparePlayFolder(fresh, shipped), QString());
    for (const char* name : {"1.dbm", "config.cfg", "music/1.mid"})
        EXPECT_EQ(contents(fresh + '/' + name), contents(shipped + '/' + name)) << name;

    // The binary finds the shipped files beside its folder only where an installation put them.
    EXPECT_EQ(launch::shippedFiles(dir.filePath("usr/games"), "../share/games/plinkat"), QFileInfo(shipped).canonicalFilePath());
    EXPECT_EQ(launch::shippedFiles(dir.filePath("build/play"), "../share/games/plinkat"), QString());
}

TEST(PlayFolder, IsTheXdgDataFolderOrTheHomeDefaultAndSaysWhyItCannotBeMade)
{
    EXPECT_EQ(launch::playersFolder("/data", "/home/u"), "/data/plinkat");
    EXPECT_EQ(launch::playersFolder("relative/data", "/home/u"), "/home/u/.local/share/plinkat");
    EXPECT_EQ(launch::playersFolder("", "/home/u/"), "/home/u/.local/share/plinkat");
    EXPECT_EQ(launch::playersFolder("", ""), QString());

    QTemporaryDir dir;
    const QString shipped = dir.filePath("shipped");
    put(shipped + "/music/1.mid", "MThd");
    put(dir.filePath("file"), "not a folder");
    EXPECT_TRUE(launch::preparePlayFolder(dir.filePath("file"), shipped).contains(dir.filePath("file")));
    put(dir.filePath("play/music"), "not a folder either");
    EXPECT_TRUE(launch::preparePlayFolder(dir.filePath("play"), shipped).contains(dir.filePath("play/music")));
}

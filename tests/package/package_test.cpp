// The Debian package from cpack: checked by the tools a distribution checks it with, unpacked into
// a scratch root, asked for its help and version with no display, and started from its own menu
// entry in a virtual X server.
#include "xdriver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int kStartScreenWidth = 425;
constexpr int kMainWindowWidth = 613;
const std::string kTitle = "Plinkat";
const QString kAppId = QStringLiteral(PLINKAT_APP_ID);

struct Result {
    int exitCode = -1;
    QString output; // standard output and error together, or standard output alone
    QString errors; // standard error, when kept apart
};

Result run(const QString& program, const QStringList& args, const QString& dir = {})
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!dir.isEmpty())
        p.setWorkingDirectory(dir);
    p.start(program, args);
    Result r;
    if (p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    r.output = QString::fromUtf8(p.readAll());
    return r;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the program with this environment, its standard output and error apart.
Result runApart(const QString& program, const QStringList& args, const QProcessEnvironment& env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    Result r;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    r.output = QString::fromUtf8(p.readAllStandardOutput());
    r.errors = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The value of a desktop entry's key, with quotes taken off.
QString entryValue(const QString& desktopFile, const QByteArray& key)
{
    for (const QByteArray& line : readAll(desktopFile).split('\n')) {
        if (line.startsWith(key + '='))
            return QString::fromUtf8(line.mid(key.size() + 1)).remove(QLatin1Char('"')).trimmed();
    }
    return {};
}

} // namespace

TEST(Package, DebInstallsAndStartsFromItsMenuEntry)
{
    XDriver x;
    ASSERT_TRUE(x.ok()) << "no X display";
    QTemporaryDir work;
    const QString out = work.filePath(QStringLiteral("out"));

    // cpack -G DEB, as in the build folder, but writing into the scratch folder.
    const Result cpack = run(QStringLiteral(PLINKAT_CPACK),
                          {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), out},
                          QStringLiteral(PLINKAT_BUILD_DIR));
    ASSERT_EQ(cpack.exitCode, 0) << cpack.output.toStdString();
    const QStringList debs = QDir(out).entryList({QStringLiteral("plinkat_" PLINKAT_VERSION "_*.deb")}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << cpack.output.toStdString();
    const QString deb = QDir(out).filePath(debs.front());

    // Its dependencies: the binary's libraries, found by dpkg-shlibdeps, the mixer it loads itself,
    // and the soundfont.
    const QString depends = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Depends")}).output;
    EXPECT_TRUE(depends.contains(QLatin1String("libqt6widgets6"))) << depends.toStdString();
    EXPECT_TRUE(depends.contains(QLatin1String("libsdl2-mixer-2.0-0"))) << depends.toStdString();
    EXPECT_TRUE(depends.contains(QLatin1String("timgm6mb-soundfont"))) << depends.toStdString();

    const Result lintian = run(QStringLiteral("lintian"), {QStringLiteral("-I"), QStringLiteral("--fail-on"),
                                                        QStringLiteral("error,warning,info"), deb});
    EXPECT_EQ(lintian.exitCode, 0) << lintian.output.toStdString();

    const QString root = work.filePath(QStringLiteral("root"));
    ASSERT_EQ(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root}).exitCode, 0);
    const QString usr = root + QStringLiteral("/usr");
    const QString shipped = usr + QStringLiteral("/share/games/plinkat");
    for (const QString& file : {QStringLiteral("games/plinkat"), QStringLiteral("games/plinkat-launch"),
                                QStringLiteral("share/games/plinkat/1.dbm"), QStringLiteral("share/games/plinkat/15.dbm"),
                                QStringLiteral("share/games/plinkat/config.cfg"), QStringLiteral("share/games/plinkat/ring.Wav"),
                                QStringLiteral("share/games/plinkat/music/5.mid"),
                                QStringLiteral("share/icons/hicolor/48x48/apps/plinkat.png"),
                                QStringLiteral("share/doc/plinkat/copyright")})
        EXPECT_TRUE(QFileInfo::exists(usr + QLatin1Char('/') + file)) << file.toStdString();

    // The metadata passes the validators, names the menu entry by its id and carries the
    // package's version as its release.
    const QString entry = usr + QStringLiteral("/share/applications/") + kAppId + QStringLiteral(".desktop");
    const QString metainfo = usr + QStringLiteral("/share/metainfo/") + kAppId + QStringLiteral(".metainfo.xml");
    const QString manual = usr + QStringLiteral("/share/man/man6/plinkat.6.gz");
    const Result desktopCheck = run(QStringLiteral("desktop-file-validate"), {entry});
    EXPECT_EQ(desktopCheck.exitCode, 0) << desktopCheck.output.toStdString();
    EXPECT_TRUE(desktopCheck.output.isEmpty()) << desktopCheck.output.toStdString();
    const Result appstream = run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                               QStringLiteral("--pedantic"), metainfo});
    EXPECT_EQ(appstream.exitCode, 0) << appstream.output.toStdString();
    EXPECT_FALSE(appstream.output.contains(QRegularExpression(QStringLiteral("^[EW]:"), QRegularExpression::MultilineOption)))
        << appstream.output.toStdString();
    const QString meta = QString::fromUtf8(readAll(metainfo));
    EXPECT_TRUE(meta.contains(QStringLiteral("<launchable type=\"desktop-id\">") + kAppId + QStringLiteral(".desktop<")));
    const QString version = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Version")}).output.trimmed();
    EXPECT_EQ(version, QStringLiteral(PLINKAT_VERSION));
    EXPECT_TRUE(meta.contains(QStringLiteral("<release version=\"") + version + QLatin1Char('"'))) << meta.toStdString();
    QProcess man;
    QProcessEnvironment manEnv = QProcessEnvironment::systemEnvironment();
    manEnv.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    man.setProcessEnvironment(manEnv);
    man.start(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-E"), QStringLiteral("UTF-8"),
                                      QStringLiteral("-l"), manual});
    ASSERT_TRUE(man.waitForFinished(60000));
    EXPECT_EQ(man.exitCode(), 0);
    EXPECT_EQ(man.readAllStandardError(), QByteArray());
    EXPECT_TRUE(man.readAllStandardOutput().contains("plinkat-launch"));

    // The menu entry runs the command on the PATH. Typed with --help or --version it needs no display.
    const QString exec = entryValue(entry, "Exec");
    ASSERT_EQ(exec, QStringLiteral("/usr/games/plinkat"));
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("HOME"), home.path());
    const QString play = home.filePath(QStringLiteral(".local/share/plinkat"));
    const Result versionText = runApart(root + exec, {QStringLiteral("--version")}, env);
    EXPECT_EQ(versionText.exitCode, 0) << versionText.errors.toStdString();
    EXPECT_EQ(versionText.output, QStringLiteral("Plinkat " PLINKAT_VERSION "\n"));
    const Result help = runApart(root + exec, {QStringLiteral("--help")}, env);
    EXPECT_EQ(help.exitCode, 0) << help.errors.toStdString();
    EXPECT_TRUE(help.output.contains(QStringLiteral("--folder")) && help.output.contains(play)) << help.output.toStdString();
    const Result wrong = runApart(root + exec, {QStringLiteral("--bogus")}, env);
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.output.isEmpty() && wrong.errors.contains(QStringLiteral("«--bogus»"))) << wrong.errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(play)) << "made without a game to play";

    // Started in a folder with no maps, it plays in the player's own play folder, made afresh.
    QProcess game;
    env.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    game.setProcessEnvironment(env);
    game.setWorkingDirectory(work.path());
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(root + exec, {});
    ASSERT_TRUE(game.waitForStarted(XDriver::kPatienceMs));

    const auto start = x.waitFor(kTitle, kStartScreenWidth);
    ASSERT_TRUE(start) << "the packaged game showed no start screen";
    x.click(*start, 24 + 192, 240 + 12); // "СТАРТ"
    const auto main = x.waitFor(kTitle, kMainWindowWidth);
    ASSERT_TRUE(main) << "СТАРТ did not show the main window";
    x.requestClose(*main);
    ASSERT_TRUE(game.waitForFinished(XDriver::kPatienceMs));
    EXPECT_EQ(game.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(game.exitCode(), 0);

    // The shipped files were copied, and the settings written back on closing (melody 1 played).
    for (const char* file : {"/1.dbm", "/15.dbm", "/ring.Wav", "/music/5.mid"})
        EXPECT_EQ(readAll(play + QLatin1String(file)), readAll(shipped + QLatin1String(file))) << file;
    EXPECT_EQ(readAll(play + QStringLiteral("/config.cfg")), QByteArray(" 5  2  4 \r\n"));
}

// Start-up, settings file, shutdown, the start screen and the windows' lifecycle.
#include "dialogs/form5.h"
#include "files/game_files.h"
#include "game/for6.h"
#include "game/form1.h"
#include "game/form4.h"
#include "game/forms.h"
#include "shell/program.h"
#include "support/fakes.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::GameFixture;

namespace {
const QByteArray kDesignLine(" 5  1  4 \r\n");

bool startScreenOnScreen()
{
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == shell::kProductTitle)
            return true;
    return false;
}
} // namespace

TEST(Settings, StoredSpeedGoesOntoTheSliderGridAndIsWrittenBack)
{
    GameFixture fx;
    fx.writeFile("config.cfg", " 5  2  4.25 \r\n");
    Form1& f1 = fx.start();
    Form5& options = fx.forms().form5();
    EXPECT_EQ(options.HScroll1.value(), 42);
    EXPECT_EQ(f1.skor, 4.2f);
    EXPECT_EQ(options.Label1.caption(), "42");
    EXPECT_EQ(options.Text1.text(), "2");
    EXPECT_EQ(f1.melodi, 5);
    EXPECT_EQ(f1.num, 2.0f);
    EXPECT_EQ(f1.level, 1.0f);
    EXPECT_TRUE(fx.messages.isEmpty());

    f1.closeBox();
    EXPECT_TRUE(fx.ended);
    EXPECT_EQ(fx.readFile("config.cfg"), QByteArray(" 5  2  4.2 \r\n"));
}

TEST(Settings, CommasAndLineBreaksReadLikeTheWrittenLine)
{
    for (const QByteArray& text : {QByteArray("5,2,4"), QByteArray("5\r\n2\r\n4\r\n"), QByteArray(" 5 , 2\n 4")}) {
        GameFixture fx;
        fx.writeFile("config.cfg", text);
        Form1& f1 = fx.start();
        EXPECT_EQ(f1.melodi, 5) << text.constData();
        EXPECT_EQ(f1.num, 2.0f) << text.constData();
        EXPECT_EQ(f1.skor, 4.0f) << text.constData();
        EXPECT_TRUE(fx.messages.isEmpty());
        f1.closeBox();
        EXPECT_EQ(fx.readFile("config.cfg"), QByteArray(" 5  2  4 \r\n"));
    }
}

TEST(Settings, MissingFileStartsWithDesignValuesSilently)
{
    GameFixture fx(false);
    Form1& f1 = fx.start();
    EXPECT_EQ(f1.melodi, 5);
    EXPECT_EQ(f1.num, 1.0f);
    EXPECT_EQ(f1.skor, 4.0f);
    EXPECT_EQ(fx.forms().form5().Label1.caption(), "40");
    EXPECT_TRUE(fx.messages.isEmpty());
    f1.closeBox();
    EXPECT_EQ(fx.readFile("config.cfg"), kDesignLine);
}

TEST(Settings, DamagedFileKeepsDesignValuesForWhatIsMissingAndTellsOnce)
{
    struct Case { QByteArray text; int16_t melodi; float num; float skor; };
    const Case cases[] = {
        {"7", 7, 1, 4},
        {"7 3", 7, 3, 4},
        {"7 x 9", 7, 1, 4},
        {"", 5, 1, 4},
        {"nan 2 3", 5, 1, 4},
        {"99999 2 3", 5, 2, 3},
        {QByteArray("\x00\xff\x13garbage", 10), 5, 1, 4},
    };
    for (const Case& c : cases) {
        GameFixture fx;
        fx.writeFile("config.cfg", c.text);
        Form1& f1 = fx.start();
        EXPECT_EQ(f1.melodi, c.melodi) << c.text.constData();
        EXPECT_EQ(f1.num, c.num) << c.text.constData();
        EXPECT_EQ(f1.skor, c.skor) << c.text.constData();
        EXPECT_EQ(fx.messages.size(), 1) << c.text.constData();
    }
}

TEST(Settings, SpeedOutsideTheSliderRangeIsClamped)
{
    GameFixture fx;
    fx.writeFile("config.cfg", " 5  1  25 \r\n");
    Form1& f1 = fx.start();
    EXPECT_EQ(f1.skor, 10.0f);
    EXPECT_EQ(fx.forms().form5().HScroll1.value(), 100);

    GameFixture fx2;
    fx2.writeFile("config.cfg", " 5  1 -3 \r\n");
    EXPECT_EQ(fx2.start().skor, 0.0f);
}

TEST(StartUp, ShowsTheStartScreenOpensTheEffectAndStartsTheMusicTimers)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    EXPECT_TRUE(fx.forms().for6().visible());
    EXPECT_FALSE(f1.visible());
    EXPECT_EQ(f1.file, "ring.Wav");
    ASSERT_EQ(fx.devices.size(), 2u);
    EXPECT_EQ(fx.devices[0]->commands, QStringList{"open " + fx.startFolder() + "/ring.Wav"});
    EXPECT_TRUE(f1.Timer4.enabled());
    EXPECT_TRUE(f1.Timer3.enabled());
    EXPECT_FALSE(f1.Timer1.enabled());
}

TEST(StartUp, StartScreenIsUpBeforeTheMainWindowIsBuilt)
{
    QTemporaryDir dir;
    bool upWhenBuilt = false;
    Forms::Setup setup;
    setup.startFolder = dir.path();
    setup.workFolder = dir.path(); // no settings there: design values, no message
    setup.devices = [&upWhenBuilt] {
        upWhenBuilt = startScreenOnScreen();
        return std::make_unique<testing_support::RecordingDevice>();
    };
    Forms forms(setup);
    forms.start();
    EXPECT_TRUE(upWhenBuilt);
    EXPECT_TRUE(forms.for6().visible());
    EXPECT_FALSE(forms.form1().visible());
}

TEST(StartUp, DamagedSettingsAreReportedBeforeTheStartScreenAppears)
{
    GameFixture fx;
    fx.writeFile("config.cfg", "7\r\n");
    int messages = 0;
    bool upAtMessage = false;
    shell::setMessageBoxHandler([&](const QString&) {
        ++messages;
        upAtMessage = startScreenOnScreen();
    });
    fx.start();
    EXPECT_EQ(messages, 1);
    EXPECT_FALSE(upAtMessage);
    EXPECT_TRUE(fx.forms().for6().visible());
}

TEST(StartUp, SettingsThatCannotBeWrittenAreReported)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    QFile::remove(fx.pathOf("config.cfg"));
    QDir().mkdir(fx.pathOf("config.cfg")); // a folder where the file should be
    f1.closeBox();
    ASSERT_EQ(fx.messages.size(), 1);
    EXPECT_TRUE(fx.messages[0].contains("config.cfg"));
    EXPECT_TRUE(fx.ended);
}

// What writes cut short by a crash left beside the game's files is gone when the game starts
// again: the temporary files of a game that no longer runs, whose pid another program now has,
// or whose pid is this game's own. A game that still runs keeps its own, and every other file
// stays, however like them it looks.
TEST(StartUp, TemporaryFilesOfAnEndedGameAreRemovedAndNothingElse)
{
    GameFixture fx;
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    ASSERT_GT(ended, 0);
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t running = fork(); // a copy of this program, waiting until the pipe closes
    if (running == 0) {
        close(pipeEnds[1]);
        char c;
        _exit(static_cast<int>(read(pipeEnds[0], &c, 1)));
    }
    ASSERT_GT(running, 0);
    close(pipeEnds[0]);
    const auto temp = [](const char* name, pid_t pid, const char* n = "0") {
        return QStringLiteral(".%1.tmp-%2-%3").arg(QLatin1String(name)).arg(pid).arg(QLatin1String(n));
    };
    const QStringList stale = {temp("config.cfg", ended), temp("save.dbs", getpid(), "12"),
                               temp("mine.DBM", getppid())};
    const QStringList kept = {temp("config.cfg", running), temp("notes.txt", ended), temp("save.dbs", ended, "01"),
                              temp("save.dbs", ended) + "~", "config.cfg.tmp-" + QString::number(ended) + "-0",
                              ".config.cfg.tmp-" + QString::number(ended), ".config.cfg.tmp-0-0"};
    for (const QString& name : stale + kept)
        fx.writeFile(name, "half a file");
    const QString records = fx.startFolder() + "/" + temp("records.txt", ended);
    const QString aFolder = fx.startFolder() + "/" + temp("view.cfg", ended);
    QFile(fx.pathOf(kept[0])).copy(records);
    ASSERT_TRUE(QDir().mkdir(aFolder));

    fx.restart();
    fx.start();
    close(pipeEnds[1]);
    waitpid(running, nullptr, 0);
    for (const QString& name : stale)
        EXPECT_FALSE(QFileInfo::exists(fx.pathOf(name))) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(records));
    for (const QString& name : kept)
        EXPECT_TRUE(QFileInfo::exists(fx.pathOf(name))) << name.toStdString();
    EXPECT_TRUE(QFileInfo(aFolder).isDir());
}

// Whatever files the game has, what a cut-short write of each left in either folder goes; a name
// that only looks like one of them stays.
TEST(StartUp, EveryGameFilesTemporaryIsRemovedInBothFolders)
{
    GameFixture fx;
    const QString tail = QStringLiteral(".tmp-%1-0").arg(getpid()); // this program's own: never running
    QStringList stale, kept;
    for (const files::GameFileName& f : files::kGameFiles) {
        const QString name = (f.ending ? QStringLiteral("mine") : QString()) + QLatin1String(f.name);
        stale << "." + name + tail;
        kept << "." + name + "~" + tail;
    }
    const QStringList folders = {fx.folder(), fx.startFolder()};
    for (const QString& folder : folders)
        for (const QString& name : stale + kept)
            ASSERT_TRUE(QFile(folder + "/" + name).open(QIODevice::WriteOnly));

    fx.restart();
    fx.start();
    for (const QString& folder : folders) {
        for (const QString& name : stale)
            EXPECT_FALSE(QFileInfo::exists(folder + "/" + name)) << name.toStdString();
        for (const QString& name : kept)
            EXPECT_TRUE(QFileInfo::exists(folder + "/" + name)) << name.toStdString();
    }
}

TEST(Shutdown, ClosesTheMelodiesThenTheEffect)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    f1.closeBox();
    EXPECT_EQ(fx.deviceLog.mid(fx.deviceLog.size() - 2), QStringList({"MMControl2 close", "MMControl1 close"}));
    EXPECT_TRUE(fx.ended);
}

// The desktop session manager's request to quit reaches the program as a Quit event: it closes
// the window the player is in, as its close box would, and nothing else.
TEST(Shutdown, TheSessionManagersQuitClosesTheWindowThePlayerIsIn)
{
    GameFixture fx;
    fx.writeFile("config.cfg", "5,3,4");
    fx.start();
    shell::onEndRequest([&fx] { fx.forms().closeShowingWindow(); });
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(qApp, &quit);
    EXPECT_TRUE(fx.ended);
    EXPECT_EQ(fx.readFile("config.cfg"), QByteArray("5,3,4")) << "the start screen writes nothing";

    fx.restart();
    fx.start();
    fx.forms().for6().Command4.click();
    QCoreApplication::sendEvent(qApp, &quit);
    EXPECT_TRUE(fx.ended);
    EXPECT_EQ(fx.readFile("config.cfg"), QByteArray(" 5  3  4 \r\n"));
    shell::onEndRequest({});
}

TEST(StartScreen, LastDifficultyHoldsAndOnlyEasyWritesTheHint)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    For6& s = fx.forms().for6();
    EXPECT_EQ(s.skul.top(), 3000.0f);
    s.Command1.click();
    EXPECT_EQ(f1.height(), 9765.0f);
    EXPECT_EQ(s.skul.top(), 1560.0f);
    EXPECT_EQ(f1.Text1.text(), " Жми на стену для старта");
    s.Command3.click();
    EXPECT_EQ(f1.height(), 8850.0f);
    EXPECT_EQ(s.skul.top(), 3000.0f);
    EXPECT_EQ(f1.Text1.text(), " Жми на стену для старта");
    s.Command2.click();
    EXPECT_EQ(f1.height(), 9300.0f);
    EXPECT_EQ(s.skul.top(), 2280.0f);
}

TEST(StartScreen, StartWithoutDifficultyShowsTheMainWindowAtDesignSize)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    const float design = f1.height();
    fx.forms().for6().Command4.click();
    EXPECT_TRUE(f1.visible());
    EXPECT_FALSE(fx.forms().for6().visible());
    EXPECT_EQ(f1.height(), design);
    EXPECT_EQ(fx.forms().for6().skul.top(), 3000.0f);
}

TEST(StartScreen, ClosingItClosesBothDevicesAndLeavesSettingsUnchanged)
{
    GameFixture fx;
    fx.writeFile("config.cfg", "5,1,4");
    fx.start();
    fx.forms().for6().closeBox();
    EXPECT_TRUE(fx.ended);
    EXPECT_EQ(fx.deviceLog.mid(fx.deviceLog.size() - 2), QStringList({"MMControl2 close", "MMControl1 close"}));
    EXPECT_EQ(fx.readFile("config.cfg"), QByteArray("5,1,4"));
}

TEST(WindowLifecycle, HiddenWindowKeepsValuesAndTheCloseBoxBringsBackDesignValues)
{
    GameFixture fx;
    fx.start();
    Form4& jump = fx.forms().form4();
    jump.show();
    jump.Text1.setText("7");
    jump.hide();
    EXPECT_EQ(fx.forms().form4().Text1.text(), "7");
    EXPECT_EQ(&fx.forms().form4(), &jump);

    jump.closeBox();
    EXPECT_FALSE(fx.forms().form4Exists());
    QCoreApplication::processEvents(); // the closed window is deleted after its event
    EXPECT_EQ(fx.forms().form4().Text1.text(), "1");
}

// A stopped game costs nothing: once the start-up timers have done their one pass, no timer
// ticks until the ball is launched, and none after the ball is lost.
TEST(StartUp, NoTimerRunsWhilePlayIsStopped)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    fx.advance(5000);
    fx.forms().for6().Command4.click();
    fx.advance(5000);
    EXPECT_EQ(fx.enabledTimers(), 0u);

    f1.polos_MouseDown({1, 0, 3000, 300});
    EXPECT_EQ(fx.enabledTimers(), 1u);
    f1.deck.setLeft(200); // far from where the ball comes down
    for (int i = 0; i < 10000 && f1.Timer1.enabled(); ++i)
        fx.tick();
    ASSERT_FALSE(f1.Timer1.enabled()) << "the ball was never lost";
    EXPECT_EQ(fx.messages.back(), "БАБАХ !!!");
    fx.advance(5000);
    EXPECT_EQ(fx.enabledTimers(), 0u);
}

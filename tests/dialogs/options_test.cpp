// The options window: the speed slider, the sound switch, the difficulty buttons and the melody choice.
#include "support/fakes.h"

#include "dialogs/form5.h"
#include "game/form1.h"

#include <QApplication>
#include <QFileInfo>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using testing_support::GameFixture;
using testing_support::RecordingDevice;

namespace {

class Options : public ::testing::Test {
protected:
    // Starts the game with melody bound 5 and the given start number and speed.
    Form1& start(const QByteArray& startNumber = "1", const QByteArray& speed = "4")
    {
        fx.writeFile(QStringLiteral("config.cfg"), " 5  " + startNumber + "  " + speed + " \r\n");
        Form1& f1 = fx.start();
        return f1;
    }
    Form5& options() { return fx.forms().form5(); }
    RecordingDevice& music() { return *fx.devices.at(1); }
    RecordingDevice& effect() { return *fx.devices.at(0); }

    // Types a melody number and confirms it.
    void choose(const QString& text)
    {
        options().Text1.setText(text);
        options().Command5.click();
    }

    // A Done still queued by the recording device must reach the game while it exists.
    void TearDown() override { QCoreApplication::processEvents(); }

    GameFixture fx;
};

// --- Speed ---

TEST_F(Options, SliderAtZeroStopsTheBall)
{
    Form1& f1 = start();
    options().HScroll1.setValue(0);
    EXPECT_EQ(f1.skor, 0.0f);
    EXPECT_EQ(options().Label1.caption(), QStringLiteral("0"));
}

TEST_F(Options, SliderValueIsTenTimesTheSpeed)
{
    Form1& f1 = start();
    options().HScroll1.setValue(42);
    EXPECT_EQ(f1.skor, 4.2f);
    EXPECT_EQ(options().Label1.caption(), QStringLiteral("42"));
    options().HScroll1.setValue(100);
    EXPECT_EQ(f1.skor, 10.0f);
    EXPECT_EQ(options().Label1.caption(), QStringLiteral("100"));
}

TEST_F(Options, ArrowClicksAndThumbDragsChangeTheSpeedAsTheyMove)
{
    Form1& f1 = start();
    auto* bar = static_cast<QScrollBar*>(options().HScroll1.widget());
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(f1.skor, 4.1f);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(f1.skor, 3.1f);

    // While the thumb is held, every position it passes sets the speed at once.
    bar->setSliderDown(true);
    bar->setSliderPosition(70);
    EXPECT_EQ(f1.skor, 7.0f);
    EXPECT_EQ(options().Label1.caption(), QStringLiteral("70"));
    bar->setSliderPosition(65);
    EXPECT_EQ(f1.skor, 6.5f);
    bar->setSliderDown(false);
    EXPECT_EQ(f1.skor, 6.5f);
}

// --- Sound switch ---

TEST_F(Options, SoundIsOffAtStartAndTheSwitchReachesTheBallTick)
{
    Form1& f1 = start();
    EXPECT_TRUE(options().Option2.value());
    EXPECT_FALSE(options().Option1.value());
    fx.tick(); // the start-up timers copy the editor's grid first

    // One cell left, the ball resting inside it: every tick is one hit.
    for (auto& column : f1.cells)
        column.fill(0);
    f1.cells[3][2] = 10;
    f1.skor = 0;
    f1.dx = 0;
    f1.ball.setLeft(49);
    f1.ball.setTop(33);
    f1.Timer1.setEnabled(true);
    effect().commands.clear();

    fx.tick();
    ASSERT_EQ(f1.cells[3][2], 9.0f) << "the set-up should give a hit";
    EXPECT_TRUE(effect().commands.isEmpty()) << "no effect while the sound is off";

    options().Option1.click();
    EXPECT_FALSE(options().Option2.value());
    fx.tick(3);
    EXPECT_EQ(f1.cells[3][2], 6.0f);
    EXPECT_EQ(effect().commands, QStringList({"play", "prev", "play", "prev", "play", "prev"}));

    options().Option2.click();
    fx.tick();
    EXPECT_EQ(effect().commands.size(), 6);
}

TEST_F(Options, OpeningTheWindowLeavesTheSoundSwitchAlone)
{
    Form1& f1 = start();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        f1.sped.click();
        QWidget* window = options().topLevel();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QCoreApplication::processEvents();
        EXPECT_TRUE(options().Option2.value());
        EXPECT_FALSE(options().Option1.value());
        options().Command1.click();
    }
}

// --- Difficulty and the window itself ---

TEST_F(Options, DifficultyButtonsResizeTheMainWindowWithoutStoppingPlay)
{
    Form1& f1 = start();
    f1.Timer1.setEnabled(true);
    options().Command4.click();
    EXPECT_EQ(f1.height(), kHeightNightmare);
    options().Command2.click();
    EXPECT_EQ(f1.height(), kHeightEasy);
    options().Command3.click();
    EXPECT_EQ(f1.height(), kHeightNormal);
    EXPECT_TRUE(f1.Timer1.enabled());
    EXPECT_TRUE(fx.messages.isEmpty());
}

TEST_F(Options, MenuShowsTheWindowAndDoneHidesIt)
{
    Form1& f1 = start();
    EXPECT_FALSE(options().visible()) << "start-up creates it hidden";
    f1.cells[10][4] = 3; // a level still to clear
    f1.ball.setTop(60);
    f1.vdir = 1;
    f1.Timer1.setEnabled(true);
    f1.sped.click();
    EXPECT_TRUE(options().visible());
    // Modeless: it blocks no other window, and the ball goes on behind it.
    EXPECT_EQ(options().topLevel()->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    fx.tick();
    EXPECT_LT(f1.ball.top(), 60.0f);
    options().HScroll1.setValue(55);
    options().Command1.click();
    EXPECT_FALSE(options().visible());
    f1.sped.click();
    EXPECT_EQ(options().HScroll1.value(), 55) << "hiding keeps the values";
}

TEST_F(Options, WindowRecreatedAfterItsCloseBoxShowsTheLiveSpeedAndMelody)
{
    Form1& f1 = start("3", "7");
    options().Option1.click();
    options().closeBox();
    QCoreApplication::processEvents();
    f1.skor = 6.5f;
    f1.num = 4;

    Form5& again = fx.forms().form5();
    EXPECT_EQ(again.HScroll1.value(), 65);
    EXPECT_EQ(again.Label1.caption(), QStringLiteral("65"));
    EXPECT_EQ(f1.skor, 6.5f);
    EXPECT_EQ(again.Text1.text(), QStringLiteral("4"));
    EXPECT_TRUE(again.Option2.value()) << "the sound switch comes back off, as at every start";
}

// --- Melody choice ---

TEST_F(Options, ChoiceAboveTheBoundIsClampedAndOpenedWithoutPlaying)
{
    Form1& f1 = start();
    fx.tick(); // melody 1 plays
    music().commands.clear();

    choose(QStringLiteral("9"));
    EXPECT_EQ(options().Text1.text(), QStringLiteral("5"));
    EXPECT_EQ(fx.messages, QStringList({QStringLiteral("мелодия номер 5")}));
    EXPECT_EQ(f1.num, 5.0f);
    EXPECT_EQ(f1.file, QStringLiteral("5.mid"));
    EXPECT_EQ(music().commands,
              QStringList({QStringLiteral("close"),
                           QStringLiteral("open ") + fx.startFolder() + QStringLiteral("/music/5.mid")}));
}

TEST_F(Options, ChosenMelodyPlaysNextThenTheRotationGoesOnFromOne)
{
    Form1& f1 = start();
    fx.tick();
    choose(QStringLiteral("9"));
    QCoreApplication::processEvents(); // the Done of the melody that the choice closed
    ASSERT_TRUE(music().playing);
    EXPECT_EQ(QFileInfo(music().opened.last()).fileName(), QStringLiteral("5.mid"));
    EXPECT_EQ(music().commands.last(), QStringLiteral("play"));
    EXPECT_EQ(f1.num, 1.0f);
    EXPECT_EQ(options().Text1.text(), QStringLiteral("1"));

    music().finishPlayback();
    QCoreApplication::processEvents();
    EXPECT_EQ(QFileInfo(music().opened.last()).fileName(), QStringLiteral("1.mid"));
}

TEST_F(Options, ZeroOrNegativeChoiceGivesMelodyOne)
{
    Form1& f1 = start("3");
    for (const char* typed : {"0", "-4", "-0.5"}) {
        SCOPED_TRACE(typed);
        fx.messages.clear();
        choose(QString::fromLatin1(typed));
        EXPECT_EQ(options().Text1.text(), QStringLiteral("1"));
        EXPECT_EQ(f1.num, 1.0f);
        EXPECT_EQ(QFileInfo(music().opened.last()).fileName(), QStringLiteral("1.mid"));
        EXPECT_EQ(fx.messages, QStringList({QStringLiteral("мелодия номер 1")}));
    }
}

TEST_F(Options, BoundBelowOneStillGivesMelodyOne)
{
    fx.writeFile(QStringLiteral("config.cfg"), " 0  1  4 \r\n");
    Form1& f1 = fx.start();
    choose(QStringLiteral("3"));
    EXPECT_EQ(f1.num, 1.0f);
    EXPECT_EQ(options().Text1.text(), QStringLiteral("1"));
}

TEST_F(Options, TextThatIsNotANumberChangesNothingAndRestoresTheBox)
{
    Form1& f1 = start("3");
    fx.tick();
    const float next = f1.num;
    const QString file = f1.file;
    for (const char* typed : {"abc", "", "   ", "3x", "nan", "1e999"}) {
        SCOPED_TRACE(typed);
        music().commands.clear();
        fx.messages.clear();
        choose(QString::fromLatin1(typed));
        EXPECT_EQ(f1.num, next);
        EXPECT_EQ(f1.file, file);
        EXPECT_EQ(options().Text1.text(), QStringLiteral("4"));
        EXPECT_TRUE(music().commands.isEmpty()) << "the melody that plays goes on";
        ASSERT_EQ(fx.messages.size(), 1);
        EXPECT_TRUE(fx.messages[0].contains(QStringLiteral("числом"))) << fx.messages[0].toStdString();
        EXPECT_TRUE(fx.messages[0].contains(QStringLiteral("4")));
    }
    EXPECT_TRUE(music().playing);
}

TEST_F(Options, ChoiceWhileTheMusicIsSilentOpensButNeverPlays)
{
    Form1& f1 = start();
    // The music timer never ticked: nothing plays, so no Done follows the choice's close.
    f1.Timer4.setEnabled(false);
    choose(QStringLiteral("2"));
    QCoreApplication::processEvents();
    EXPECT_EQ(music().commands,
              QStringList({QStringLiteral("close"),
                           QStringLiteral("open ") + fx.startFolder() + QStringLiteral("/music/2.mid")}));
    EXPECT_EQ(f1.num, 2.0f);
}

} // namespace

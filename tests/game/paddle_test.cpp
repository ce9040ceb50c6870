// Steering, launching, the Shift trick, the pause key and the pause button.
#include "game_helpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

using testing_support::GameFixture;

TEST(Paddle, FollowsTheMouseOverTheStripAndCarriesTheRestingBall)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.polos_MouseMove({0, 0, 6000, 300});
    EXPECT_EQ(f1.deck.left(), 100.0f);
    EXPECT_EQ(f1.ball.left(), 110.0f);
    EXPECT_EQ(f1.Text1.text(), "ПОЕХАЛИ, типа СТАРТ");

    f1.Timer1.setEnabled(true);
    f1.Text1.setText("");
    f1.polos_MouseMove({0, 1, 3000, 300});
    EXPECT_EQ(f1.deck.left(), 50.0f);
    EXPECT_EQ(f1.ball.left(), 110.0f) << "a moving ball is not carried";
    EXPECT_EQ(f1.Text1.text(), "clic + shift");
}

TEST(Paddle, AnyButtonLaunchesUpAndRight)
{
    for (int button : {1, 2, 4}) {
        GameFixture fx;
        Form1& f1 = playing(fx);
        f1.polos_MouseDown({button, 0, 3000, 300});
        EXPECT_TRUE(f1.Timer1.enabled());
        EXPECT_EQ(f1.hdir, 1.0f);
        EXPECT_EQ(f1.vdir, 1.0f);
        EXPECT_EQ(f1.file, "1.dbm");
        EXPECT_FALSE(f1.drawnColorAt(20, 20)) << "the launch clears the drawing";
    }
}

TEST(Paddle, ShiftTrickCostsTwentyPointsAndCannotGoBelowZero)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.Timer1.setEnabled(true);
    f1.score = 45;
    f1.hdir = 1;
    placeBall(f1, 70, 60);
    f1.polos_MouseDown({1, 1, 3000, 300});
    EXPECT_EQ(f1.score, 25.0f);
    EXPECT_EQ(f1.hdir, 0.0f);
    EXPECT_TRUE(f1.Timer1.enabled());
    EXPECT_EQ(f1.ball.left(), 70.0f);

    f1.score = 15;
    f1.polos_MouseDown({1, 1, 3000, 300});
    EXPECT_EQ(f1.score, 0.0f);
    EXPECT_EQ(f1.Text1.text(), "ТАК НЕЛЬЗЯ");
    EXPECT_EQ(f1.ball.left(), f1.deck.left() + 10);
    EXPECT_FLOAT_EQ(f1.ball.top(), f1.deck.top() - 8);
    EXPECT_TRUE(f1.Timer1.enabled());
}

TEST(Paddle, ShiftPressWhileStoppedReadsTheMapButDoesNotStart)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.cells = {};
    f1.polos_MouseDown({1, 1, 3000, 300});
    EXPECT_FALSE(f1.Timer1.enabled());
    EXPECT_EQ(f1.file, "1.dbm");
    EXPECT_NE(f1.cells, CellGrid{});
}

TEST(Paddle, ShiftWithCtrlIsAnOrdinaryLaunch)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.score = 45;
    f1.polos_MouseDown({1, 3, 3000, 300});
    EXPECT_TRUE(f1.Timer1.enabled());
    EXPECT_EQ(f1.score, 45.0f);
}

TEST(Paddle, LaunchWithAMissingMapKeepsPlayStopped)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    QFile::remove(fx.pathOf("1.dbm"));
    f1.polos_MouseDown({1, 0, 3000, 300});
    EXPECT_FALSE(f1.Timer1.enabled());
    ASSERT_EQ(fx.messages.size(), 1);
    EXPECT_TRUE(fx.messages[0].contains("1.dbm"));
}

TEST(Paddle, PKeyPausesAndResumesThirtyMillimetresLower)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.Timer1.setEnabled(true);
    f1.hdir = 1;
    f1.vdir = 1;
    placeBall(f1, 70, 60);
    f1.polos_KeyDown('Q', 0);
    EXPECT_TRUE(f1.Timer1.enabled());
    f1.polos_KeyDown(80, 0);
    EXPECT_FALSE(f1.Timer1.enabled());
    f1.polos_KeyDown(80, 0);
    EXPECT_TRUE(f1.Timer1.enabled());
    EXPECT_EQ(f1.ball.top(), 90.0f);
    EXPECT_EQ(f1.hdir, 2.0f);
    EXPECT_EQ(f1.vdir, 1.0f);
}

// The pause key is the key in P's place: under the Russian layout it types "З" and still pauses,
// while the key in Z's place, which types "Я" there, does not.
TEST(Paddle, PauseKeyIsFoundByItsPlaceWhateverTheLayout)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.Timer1.setEnabled(true);
    auto press = [&](Qt::Key key, quint32 scanCode, const QString& text) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, scanCode, 0, 0, text);
        QApplication::sendEvent(f1.polos.widget(), &e);
    };
    press(Qt::Key(0x042F), 52, QStringLiteral("я")); // Z's place
    EXPECT_TRUE(f1.Timer1.enabled());
    press(Qt::Key(0x0417), 33, QStringLiteral("з")); // P's place
    EXPECT_FALSE(f1.Timer1.enabled());
    press(Qt::Key_P, 0, QStringLiteral("p")); // a synthetic key with no place of its own
    EXPECT_TRUE(f1.Timer1.enabled());
}

TEST(PauseButton, FlipsTheBallTickAndHandsTheFocusToTheStrip)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.Timer1.setEnabled(true);
    f1.Command2.click();
    EXPECT_FALSE(f1.Timer1.enabled());
    f1.Command2.click();
    EXPECT_TRUE(f1.Timer1.enabled());
    f1.Command2.click();
    f1.Command2.click();
    EXPECT_TRUE(f1.Timer1.enabled());
    EXPECT_EQ(f1.topLevel()->focusWidget(), f1.polos.widget());
}

TEST(Hints, FreeSurfaceEmptiesTheLineOnlyWhileStopped)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.Command2_MouseMove({});
    EXPECT_EQ(f1.Text1.text(), "Пауза и снятие с неё");
    f1.Form_MouseMove({});
    EXPECT_EQ(f1.Text1.text(), "");
    f1.Timer1.setEnabled(true);
    f1.Text1.setText("25");
    f1.Form_MouseMove({});
    EXPECT_EQ(f1.Text1.text(), "25");
}
